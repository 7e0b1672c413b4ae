// The contexts chooser: builds a sensor's context sentence from questions, or takes one typed by hand.
#include "DialogContext6.h"
#include "ui_DialogContext6.h"

#include "ZyDialogs.h"
#include "ZyLumatrekTr.h"

#include <QSignalBlocker>

#include <algorithm>

namespace {

const int kMaxSentence = 63;
const QString kOthers = QStringLiteral("OTHERS");
const QString kEditionWithoutForeign = QStringLiteral("plenda");

QString itemText(const QString &code)
{
    return QStringLiteral("%1 (%2)").arg(ZyLumatrekTr::contextName(code), code);
}

int findCode(const QComboBox *combo, const QString &code)
{
    return combo->findData(code, Qt::UserRole, Qt::MatchExactly | Qt::MatchCaseSensitive);
}

} // namespace

DialogContext6::DialogContext6(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::DialogContext6)
{
    ui->setupUi(this);
    ui->edtSentence->setMaxLength(kMaxSentence);
    ui->edtSentence->setEnabled(false);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

DialogContext6::~DialogContext6()
{
    delete ui;
}

void DialogContext6::sortCodes(QStringList &codes)
{
    // Codes that begin with a space go last.
    std::sort(codes.begin(), codes.end(), [](const QString &a, const QString &b) {
        if (a.startsWith(' '))
            return false;
        return b.startsWith(' ') || ZyLumatrekTr::contextName(a) < ZyLumatrekTr::contextName(b);
    });
}

void DialogContext6::setContexts(QStringList &codes)
{
    ui->cboCountry->clear();
    sortCodes(codes);
    m_knownCodes = codes;
    {
        const QSignalBlocker blocker(ui->cboCountry);
        for (const QString &code : codes) {
            ui->cboCountry->addItem(itemText(code), code);
            m_knownCodes += ZyLumatrekTr::foreignContexts(code);
        }
    }
    resetQuestions();
}

void DialogContext6::setEdition(const QString &edition)
{
    m_edition = edition;
}

void DialogContext6::resetQuestions()
{
    ui->cboCountry->setEnabled(true);
    ui->cboCountry->setCurrentIndex(-1);
    for (QWidget *widget : {static_cast<QWidget *>(ui->labelActivateForeign), static_cast<QWidget *>(ui->radioYes),
                            static_cast<QWidget *>(ui->radioNo), static_cast<QWidget *>(ui->labelSelectForeign),
                            static_cast<QWidget *>(ui->cboForeign)})
        widget->hide();
}

void DialogContext6::fillSentence()
{
    const int country = ui->cboCountry->currentIndex();
    if (country < 0) {
        ui->edtSentence->clear();
        return;
    }
    QString text = ui->cboCountry->itemData(country).toString();
    if (ui->radioYes->isChecked()) {
        if (ui->cboForeign->currentIndex() > 0)
            text += '>' + ui->cboForeign->currentData().toString();
        text += '>' + kOthers;
    }
    ui->edtSentence->setText(text);
}

void DialogContext6::on_cboCountry_currentIndexChanged(int v)
{
    ui->labelActivateForeign->hide();
    ui->radioYes->hide();
    ui->radioNo->hide();
    ui->labelSelectForeign->hide();
    ui->cboForeign->clear();
    ui->cboForeign->hide();
    if (v >= 0) {
        ui->labelActivateForeign->show();
        ui->radioYes->show();
        ui->radioNo->show();
        ui->radioNo->setChecked(true);
        if (m_edition == kEditionWithoutForeign) {
            ui->radioYes->setEnabled(false);
            ui->radioNo->setEnabled(false);
            ui->labelSelectForeign->setText(
                tr("Note : with the 'plenda' version of BRONDMERE sensors, it is not possible to read foreign "
                   "plates."));
            ui->labelSelectForeign->show();
        }
    }
    fillSentence();
}

void DialogContext6::on_radioYes_toggled(bool bChecked)
{
    QStringList foreign;
    if (bChecked)
        foreign = ZyLumatrekTr::foreignContexts(ui->cboCountry->currentData().toString());
    if (foreign.isEmpty()) {
        ui->labelSelectForeign->hide();
        ui->cboForeign->hide();
    } else {
        ui->labelSelectForeign->show();
        ui->cboForeign->show();
        const QSignalBlocker blocker(ui->cboForeign);
        ui->cboForeign->clear();
        sortCodes(foreign);
        ui->cboForeign->addItem(tr(" None"), QString());
        for (const QString &code : foreign)
            ui->cboForeign->addItem(itemText(code), code);
        ui->cboForeign->setCurrentIndex(0);
    }
    fillSentence();
}

void DialogContext6::on_cboForeign_currentIndexChanged(int)
{
    fillSentence();
}

void DialogContext6::on_checkAdvanced_stateChanged()
{
    const bool advanced = ui->checkAdvanced->isChecked();
    ui->edtSentence->setEnabled(advanced);
    const QString text = ui->edtSentence->text();
    if (advanced) {
        ui->cboCountry->setCurrentIndex(-1);
        ui->cboCountry->setEnabled(false);
        ui->edtSentence->setText(text);
    } else {
        resetQuestions();
        ui->edtSentence->clear();
    }
}

void DialogContext6::setAdvanced(const QString &sentence)
{
    ui->edtSentence->setText(sentence);
    const QSignalBlocker blocker(ui->checkAdvanced);
    ui->checkAdvanced->setChecked(true);
    on_checkAdvanced_stateChanged();
}

void DialogContext6::setSentence(const QString &sentence)
{
    resetQuestions();
    if (sentence.isEmpty()) {
        on_checkAdvanced_stateChanged();
        return;
    }
    const QStringList parts = sentence.split('>', Qt::KeepEmptyParts);
    const bool otherForm =
        sentence.contains('|') || parts.size() > 3 || (parts.size() > 1 && parts.last() != kOthers);
    const int country = otherForm ? -1 : findCode(ui->cboCountry, parts.first());
    if (country < 0) {
        setAdvanced(sentence);
        return;
    }
    ui->cboCountry->setCurrentIndex(country);
    if (parts.size() > 1) {
        ui->radioYes->setChecked(true);
        if (parts.size() == 3) {
            const int foreign = findCode(ui->cboForeign, parts[1]);
            if (foreign < 0) {
                setAdvanced(sentence);
                return;
            }
            ui->cboForeign->setCurrentIndex(foreign);
        }
    }
    ui->edtSentence->setEnabled(false);
    fillSentence();
}

QString DialogContext6::knownCode(const QString &part) const
{
    if (m_knownCodes.contains(part))
        return part;
    for (const QString &code : m_knownCodes) {
        if (code.compare(part, Qt::CaseInsensitive) == 0)
            return code;
    }
    return part.toUpper();
}

QString DialogContext6::sentence() const
{
    // Sensors name some codes in mixed case ("F/Corse"); upper-casing those would make them unknown.
    const QString text = ui->edtSentence->text();
    QString result, part;
    for (const QChar c : text) {
        if (c == '>' || c == '|') {
            result += knownCode(part) + c;
            part.clear();
        } else {
            part += c;
        }
    }
    return result + knownCode(part);
}

void DialogContext6::on_buttonBox_accepted()
{
    if (ui->edtSentence->text().isEmpty()) {
        ZyDialogs::critical(this, tr("Error"), tr("You can't set an empty sentence"), QString());
        return;
    }
    accept();
}

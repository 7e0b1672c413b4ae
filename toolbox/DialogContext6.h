// The contexts chooser: builds a sensor's context sentence from questions, or takes one typed by hand.
#pragma once

#include <QDialog>
#include <QStringList>

namespace Ui {
class DialogContext6;
}

class DialogContext6 : public QDialog
{
    Q_OBJECT

public:
    explicit DialogContext6(QWidget *parent = nullptr);
    ~DialogContext6() override;

    // Offers the codes as installation countries; the list is sorted in place by context name.
    void setContexts(QStringList &codes);
    void setEdition(const QString &edition);
    void setSentence(const QString &sentence);
    // The sentence in upper case, except codes the sensor offered, which keep their own case.
    QString sentence() const;

public slots:
    void on_cboCountry_currentIndexChanged(int v);
    void on_radioYes_toggled(bool bChecked);
    void on_cboForeign_currentIndexChanged(int v);
    void on_checkAdvanced_stateChanged();
    void on_buttonBox_accepted();
    void fillSentence();

private:
    static void sortCodes(QStringList &codes);
    void resetQuestions();
    void setAdvanced(const QString &sentence);
    QString knownCode(const QString &part) const;

    Ui::DialogContext6 *ui;
    QString m_edition;
    QStringList m_knownCodes;
};

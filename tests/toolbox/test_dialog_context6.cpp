// Contexts chooser: the sentence follows the questions, and sentences the questions cannot show open as typed.
#include "DialogContext6.h"
#include "TestPictures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTranslator>

namespace {

class DialogContext6Test : public ToolboxTest
{
protected:
    void SetUp() override
    {
        ToolboxTest::SetUp();
        QStringList codes = {"F", "D", "B", "I", "GB", "F/Corse", "CH", "L"};
        dialog.setContexts(codes);
    }

    template <typename T>
    T *widget(const char *name)
    {
        T *found = dialog.findChild<T *>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QComboBox *country() { return widget<QComboBox>("cboCountry"); }
    QComboBox *foreign() { return widget<QComboBox>("cboForeign"); }
    QRadioButton *yes() { return widget<QRadioButton>("radioYes"); }
    QRadioButton *no() { return widget<QRadioButton>("radioNo"); }
    QCheckBox *advanced() { return widget<QCheckBox>("checkAdvanced"); }
    QLineEdit *edit() { return widget<QLineEdit>("edtSentence"); }

    void chooseCountry(const QString &code) { country()->setCurrentIndex(country()->findData(code)); }
    void chooseForeign(const QString &code) { foreign()->setCurrentIndex(foreign()->findData(code)); }

    QStringList items(QComboBox *combo)
    {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts.append(combo->itemText(i));
        return texts;
    }

    DialogContext6 dialog;
};

TEST_F(DialogContext6Test, CountriesAreListedByNameAndNoneIsSelected)
{
    QStringList codes = {"F", "D", "B", " X"};
    dialog.setContexts(codes);
    EXPECT_EQ(codes, QStringList({"B", "F", "D", " X"}));
    EXPECT_EQ(items(country()), QStringList({"Belgium (B)", "France (F)", "Germany (D)", " X ( X)"}));
    EXPECT_EQ(country()->currentIndex(), -1);
    EXPECT_TRUE(yes()->isHidden());
    EXPECT_TRUE(foreign()->isHidden());
    EXPECT_TRUE(edit()->text().isEmpty());
    EXPECT_FALSE(edit()->isEnabled());
}

TEST_F(DialogContext6Test, QuestionsBuildTheSentence)
{
    chooseCountry("F");
    EXPECT_TRUE(no()->isChecked());
    EXPECT_FALSE(yes()->isHidden());
    EXPECT_EQ(dialog.sentence(), "F");
    yes()->setChecked(true);
    EXPECT_EQ(items(foreign()), QStringList({" None", "Belgium (B)", "Luxembourg (L)", "Switzerland (CH)",
                                             "United Kingdom (GB)"}));
    EXPECT_EQ(dialog.sentence(), "F>OTHERS");
    chooseForeign("GB");
    EXPECT_EQ(dialog.sentence(), "F>GB>OTHERS");
    no()->setChecked(true);
    EXPECT_EQ(dialog.sentence(), "F");
    EXPECT_TRUE(foreign()->isHidden());

    chooseCountry("I");
    yes()->setChecked(true);
    EXPECT_EQ(dialog.sentence(), "I>OTHERS");
    EXPECT_TRUE(foreign()->isHidden());
}

TEST_F(DialogContext6Test, SentenceTheQuestionsCanShowOpensInQuestionMode)
{
    dialog.setSentence("F>GB>OTHERS");
    EXPECT_EQ(country()->currentData().toString(), "F");
    EXPECT_TRUE(yes()->isChecked());
    EXPECT_EQ(foreign()->currentData().toString(), "GB");
    EXPECT_FALSE(edit()->isEnabled());
    EXPECT_FALSE(advanced()->isChecked());
    EXPECT_EQ(dialog.sentence(), "F>GB>OTHERS");
    dialog.setSentence("D");
    EXPECT_EQ(country()->currentData().toString(), "D");
    EXPECT_TRUE(no()->isChecked());
}

TEST_F(DialogContext6Test, OtherSentencesOpenInAdvancedModeUnchanged)
{
    for (const char *sentence : {"F>XX>OTHERS", "F|D", "F>GB>B>OTHERS", "F>GB", "ZZ>OTHERS", "f"}) {
        DialogContext6 fresh;
        QStringList codes = {"F", "D", "GB"};
        fresh.setContexts(codes);
        fresh.setSentence(sentence);
        EXPECT_TRUE(fresh.findChild<QCheckBox *>("checkAdvanced")->isChecked()) << sentence;
        EXPECT_TRUE(fresh.findChild<QLineEdit *>("edtSentence")->isEnabled()) << sentence;
        EXPECT_FALSE(fresh.findChild<QComboBox *>("cboCountry")->isEnabled()) << sentence;
        EXPECT_EQ(fresh.findChild<QLineEdit *>("edtSentence")->text(), sentence);
    }
}

TEST_F(DialogContext6Test, MixedCaseCodesOfTheSensorSurviveTheUpperCasing)
{
    dialog.setSentence("F/Corse>OTHERS");
    EXPECT_EQ(country()->currentData().toString(), "F/Corse");
    EXPECT_EQ(dialog.sentence(), "F/Corse>OTHERS");
    advanced()->setChecked(true);
    edit()->setText("f/corse>gb>others|d|xy");
    EXPECT_EQ(dialog.sentence(), "F/Corse>GB>OTHERS|D|XY");
}

TEST_F(DialogContext6Test, AdvancedEditingKeepsTheTextAndLeavingItEmptiesTheSentence)
{
    chooseCountry("B");
    advanced()->setChecked(true);
    EXPECT_EQ(edit()->text(), "B");
    EXPECT_TRUE(edit()->isEnabled());
    EXPECT_FALSE(country()->isEnabled());
    EXPECT_EQ(country()->currentIndex(), -1);
    edit()->setText(QString(80, 'A'));
    EXPECT_EQ(edit()->text().size(), 63);
    advanced()->setChecked(false);
    EXPECT_TRUE(edit()->text().isEmpty());
    EXPECT_TRUE(country()->isEnabled());
    EXPECT_FALSE(edit()->isEnabled());
}

TEST_F(DialogContext6Test, EmptySentenceIsRefusedAndTheDialogStaysOpen)
{
    QStringList boxes;
    ZyModalRunner::setHandler([&](QDialog *box) {
        boxes.append(box->windowTitle() + ": " + static_cast<QMessageBox *>(box)->text());
        return int(QMessageBox::Ok);
    });
    widget<QDialogButtonBox>("buttonBox")->button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(boxes, QStringList({"Error: You can't set an empty sentence"}));
    EXPECT_EQ(dialog.result(), 0);
    chooseCountry("D");
    widget<QDialogButtonBox>("buttonBox")->button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
}

TEST_F(DialogContext6Test, EditionWithoutForeignPlatesExplainsWhy)
{
    dialog.setEdition("plenda");
    chooseCountry("F");
    EXPECT_FALSE(yes()->isEnabled());
    EXPECT_FALSE(no()->isEnabled());
    EXPECT_TRUE(no()->isChecked());
    QLabel *note = widget<QLabel>("labelSelectForeign");
    EXPECT_FALSE(note->isHidden());
    EXPECT_TRUE(note->text().startsWith("Note : with the 'plenda' version"));
}

TEST_F(DialogContext6Test, PictureOfTheChooser)
{
    chooseCountry("F");
    yes()->setChecked(true);
    chooseForeign("GB");
    EXPECT_FALSE(keepPicture(dialog, "DialogContext6").isNull());
}

} // namespace

namespace {

TEST(DialogContext6Translation, FrenchFileTranslatesTheForm)
{
    QTranslator translator;
    ASSERT_TRUE(translator.load(QStringLiteral(BZK_PROGRAM_DIR "/choosecontexts_fr.qm")));
    QCoreApplication::installTranslator(&translator);
    DialogContext6 dialog;
    EXPECT_EQ(dialog.windowTitle(), "Choisir les contextes");
    EXPECT_EQ(dialog.findChild<QCheckBox *>("checkAdvanced")->text(),
              QString::fromUtf8("\xc3\xa9" "dition avanc\xc3\xa9" "e"));
    QCoreApplication::removeTranslator(&translator);
}

} // namespace

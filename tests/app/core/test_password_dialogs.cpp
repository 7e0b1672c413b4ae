// The start-up password dialogs: the check before start and the change from the menu, their
// forms, messages, and the change that the machine-wide store refuses.
#include "AppSettings.h"
#include "CoreTestSupport.h"
#include "DialogChangePassword.h"
#include "DialogCheckPassword.h"
#include "TestPictures.h"

#include <QLabel>
#include <QLineEdit>

namespace {

class PasswordDialogsTest : public CoreTest
{
protected:
    static void type(QWidget &dialog, const char *field, const QString &text)
    {
        dialog.findChild<QLineEdit *>(field)->setText(text);
    }
};

TEST_F(PasswordDialogsTest, CheckDialogHasItsForm)
{
    DialogCheckPassword dialog;
    EXPECT_EQ(dialog.windowTitle(), QString("BZK - Enter Password"));
    EXPECT_EQ(dialog.size(), QSize(293, 84));
    EXPECT_EQ(dialog.findChild<QLabel *>("label")->text(), QString("Password : "));
    EXPECT_EQ(dialog.findChild<QLineEdit *>("txtPassword")->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(dialog.findChild<QDialogButtonBox *>("btnOKCancel")->centerButtons());
    QWidget *next = dialog.findChild<QLineEdit *>("txtPassword")->nextInFocusChain();
    while (!(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    EXPECT_TRUE(dialog.findChild<QDialogButtonBox *>("btnOKCancel")->isAncestorOf(next)) << "tab goes to the buttons";
    type(dialog, "txtPassword", "secret");
    keepPicture(dialog, "DialogCheckPassword");
}

TEST_F(PasswordDialogsTest, CheckDialogRetriesAfterAWrongPasswordAndAcceptsTheRightOne)
{
    ASSERT_TRUE(AppSettings().changePassword("", "mot de passe é"));
    BoxRecorder recorder;
    DialogCheckPassword dialog;
    dialog.show();
    for (const char *wrong : {"", "mot de passe e", "MOT DE PASSE É"}) {
        type(dialog, "txtPassword", QString::fromUtf8(wrong));
        press(dialog, "btnOKCancel", QDialogButtonBox::Ok);
        EXPECT_TRUE(dialog.isVisible()) << wrong;
        EXPECT_EQ(dialog.findChild<QLineEdit *>("txtPassword")->text(), QString::fromUtf8(wrong));
    }
    ASSERT_EQ(recorder.boxes.size(), 3);
    EXPECT_EQ(recorder.boxes[0].icon, QMessageBox::Information);
    EXPECT_EQ(recorder.boxes[0].title, QString("BZK - Enter Password"));
    EXPECT_EQ(recorder.boxes[0].text, QString("Wrong password."));

    type(dialog, "txtPassword", "mot de passe é");
    press(dialog, "btnOKCancel", QDialogButtonBox::Ok);
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    EXPECT_EQ(recorder.boxes.size(), 3);
}

TEST_F(PasswordDialogsTest, CheckDialogCancelledIsRefused)
{
    ASSERT_TRUE(AppSettings().changePassword("", "secret"));
    DialogCheckPassword dialog;
    dialog.show();
    type(dialog, "txtPassword", "secret");
    press(dialog, "btnOKCancel", QDialogButtonBox::Cancel);
    EXPECT_EQ(dialog.result(), int(QDialog::Rejected));
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(PasswordDialogsTest, ChangeDialogHasItsForm)
{
    DialogChangePassword dialog;
    EXPECT_EQ(dialog.windowTitle(), QString("Change Password"));
    EXPECT_EQ(dialog.size(), QSize(311, 149));
    const struct
    {
        const char *label;
        const char *text;
        const char *field;
    } rows[] = {{"labelCurrentPassword", "Current Password : ", "txtCurrentPassword"},
                {"label_5", "New Password : ", "txtNewPassword"},
                {"label_6", "New Password (confirm) : ", "txtConfirmNewPassword"}};
    for (const auto &row : rows) {
        EXPECT_EQ(dialog.findChild<QLabel *>(row.label)->text(), QString(row.text));
        EXPECT_EQ(dialog.findChild<QLineEdit *>(row.field)->echoMode(), QLineEdit::Password) << row.field;
    }
    type(dialog, "txtNewPassword", "new");
    type(dialog, "txtConfirmNewPassword", "new");
    keepPicture(dialog, "DialogChangePassword");
}

struct ChangeCase
{
    const char *what;
    const char *stored; // null: no password set
    const char *current;
    const char *newPassword;
    const char *confirm;
    const char *message; // null: accepted
    const char *acceptedAfterwards;
};

TEST_F(PasswordDialogsTest, ChangeDialogStoresOnlyAConfirmedChangeWithTheRightPassword)
{
    const ChangeCase cases[] = {
        {"first password", nullptr, "", "abc", "abc", nullptr, "abc"},
        {"changed password", "old", "old", "new", "new", nullptr, "new"},
        {"protection removed", "old", "old", "", "", nullptr, ""},
        {"wrong current password", "old", "bad", "new", "new", "Wrong password.", "old"},
        {"confirmation differs in case", "old", "old", "new", "NEW", "You must enter the same password twice.",
         "old"},
        {"mismatch reported before a wrong password", "old", "bad", "new", "other",
         "You must enter the same password twice.", "old"},
    };
    for (const ChangeCase &c : cases) {
        machineSettings().remove("password");
        if (c.stored) {
            ASSERT_TRUE(AppSettings().changePassword("", c.stored)) << c.what;
        }
        BoxRecorder recorder;
        DialogChangePassword dialog;
        dialog.show();
        type(dialog, "txtCurrentPassword", c.current);
        type(dialog, "txtNewPassword", c.newPassword);
        type(dialog, "txtConfirmNewPassword", c.confirm);
        press(dialog, "buttonBox", QDialogButtonBox::Ok);
        if (c.message) {
            ASSERT_EQ(recorder.boxes.size(), 1) << c.what;
            EXPECT_EQ(recorder.boxes[0].icon, QMessageBox::Information) << c.what;
            EXPECT_EQ(recorder.boxes[0].title, QString("Change Password")) << c.what;
            EXPECT_EQ(recorder.boxes[0].text, QString(c.message)) << c.what;
            EXPECT_TRUE(dialog.isVisible()) << c.what;
        } else {
            EXPECT_TRUE(recorder.boxes.isEmpty()) << c.what;
            EXPECT_EQ(dialog.result(), int(QDialog::Accepted)) << c.what;
        }
        EXPECT_TRUE(AppSettings().checkPassword(c.acceptedAfterwards)) << c.what;
    }
}

TEST_F(PasswordDialogsTest, ChangeDialogSaysWhenTheStoreRefusesTheNewPassword)
{
    UnwritableMachineStore readOnly;
    BoxRecorder recorder;
    DialogChangePassword dialog;
    dialog.show();
    type(dialog, "txtNewPassword", "new");
    type(dialog, "txtConfirmNewPassword", "new");
    press(dialog, "buttonBox", QDialogButtonBox::Ok);
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(recorder.boxes[0].text.startsWith("The new password could not be stored"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(AppSettings().hasPassword());
}

} // namespace

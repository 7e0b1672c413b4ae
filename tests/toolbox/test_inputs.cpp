// The text, number and choice inputs: what each asks, what an accepted one gives, and nothing
// when cancelled.
#include "ToolboxTestSupport.h"
#include "ZyInputs.h"

#include <QInputDialog>

namespace {

using InputsTest = ToolboxTest;

TEST_F(InputsTest, EachInputAsksItsQuestionAndGivesTheAnswerOrNothing)
{
    QWidget window;
    const struct
    {
        const char *name;
        std::function<QVariant()> ask;  // the answer, null when none
        std::function<void(QInputDialog *)> check;
        std::function<void(QInputDialog *)> answer;
        QVariant expected;
    } cases[] = {
        {"text",
         [&]() -> QVariant {
             const auto text = ZyInputs::getText(&window, "NTP Server", "Address", "pool", QLineEdit::Password);
             return text ? QVariant(*text) : QVariant();
         },
         [](QInputDialog *d) {
             EXPECT_EQ(d->inputMode(), QInputDialog::TextInput);
             EXPECT_EQ(d->textEchoMode(), QLineEdit::Password);
             EXPECT_EQ(d->textValue(), QString("pool"));
         },
         [](QInputDialog *d) { d->setTextValue("ntp.local"); }, QString("ntp.local")},
        {"number",
         [&]() -> QVariant {
             const auto value = ZyInputs::getInt(&window, "NTP Server", "Address", 2000, 0, 5000);
             return value ? QVariant(*value) : QVariant();
         },
         [](QInputDialog *d) {
             EXPECT_EQ(d->inputMode(), QInputDialog::IntInput);
             EXPECT_EQ(d->intValue(), 2000);
             EXPECT_EQ(d->intMinimum(), 0);
             EXPECT_EQ(d->intMaximum(), 5000);
         },
         [](QInputDialog *d) { d->setIntValue(9000); }, 5000},
        {"choice",
         [&]() -> QVariant {
             const auto item = ZyInputs::getItem(&window, "NTP Server", "Address", {"front", "rear"}, 1);
             return item ? QVariant(*item) : QVariant();
         },
         [](QInputDialog *d) {
             EXPECT_EQ(d->comboBoxItems(), QStringList({"front", "rear"}));
             EXPECT_FALSE(d->isComboBoxEditable());
             EXPECT_EQ(d->textValue(), QString("rear"));
         },
         [](QInputDialog *d) { d->setTextValue("front"); }, QString("front")},
    };
    for (const auto &c : cases) {
        for (const bool accept : {true, false}) {
            SCOPED_TRACE(testing::Message() << c.name << (accept ? " accepted" : " cancelled"));
            int shown = 0;
            ZyModalRunner::setHandler([&](QDialog *dialog) {
                ++shown;
                auto *input = qobject_cast<QInputDialog *>(dialog);
                EXPECT_NE(input, nullptr);
                EXPECT_EQ(input->parentWidget(), &window);
                EXPECT_EQ(input->windowTitle(), QString("NTP Server"));
                EXPECT_EQ(input->labelText(), QString("Address"));
                c.check(input);
                c.answer(input);
                return int(accept ? QDialog::Accepted : QDialog::Rejected);
            });
            EXPECT_EQ(c.ask(), accept ? c.expected : QVariant());
            EXPECT_EQ(shown, 1);
        }
    }
}

} // namespace

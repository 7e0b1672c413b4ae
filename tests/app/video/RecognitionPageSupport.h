// Fixture of the recognition page and detail window tests: the application model's recognitions
// fed with messages on a clock of the test's own, and an answerer for the dialogs they open.
#pragma once

#include "CoreTestSupport.h"
#include "Model.h"
#include "RecognitionManager.h"
#include "RecognitionViewSupport.h"

#include <QFileDialog>
#include <QMessageBox>

namespace recotest {

class RecognitionPageTest : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        now = QDateTime::currentDateTime();
        for (RecognitionManager *manager : {&master(), &slave()}) {
            manager->clear();
            manager->setClock([this] { return now; });
        }
    }
    void TearDown() override
    {
        for (RecognitionManager *manager : {&master(), &slave()}) {
            manager->clear();
            manager->setClock({});
        }
        CoreTest::TearDown();
    }

    static RecognitionManager &master() { return Model::instance()->masterRecognitions(); }
    static RecognitionManager &slave() { return Model::instance()->slaveRecognitions(); }

    // Hands the message to the manager at the clock's time; the id of the group it joined.
    quint32 feed(const Node &root, RecognitionManager &manager = master())
    {
        held.push_back(build(root));
        quint32 id = 0;
        const auto connection = QObject::connect(&manager, &RecognitionManager::recognitionGroupChanged,
                                                 [&id](const RecognitionGroup &group) { id = group.id(); });
        manager.onMessage(held.back().get(), now);
        QObject::disconnect(connection);
        return id;
    }

    QDateTime now;
    std::vector<MsgPtr> held;
};

// Answers the modal dialogs: file dialogs with a chosen path (or a cancel when empty), message
// boxes with OK; keeps what each asked.
class Answerer
{
public:
    struct Asked
    {
        QString kind;    // "file", "box" or the dialog's class name
        QString text;    // proposed path, or box text
        QString title;
    };

    explicit Answerer(QString path = QString()) : answer(std::move(path))
    {
        ZyModalRunner::setHandler([this](QDialog *dialog) {
            if (auto *files = qobject_cast<QFileDialog *>(dialog)) {
                asked.append({"file", files->selectedFiles().value(0), files->windowTitle()});
                proposedFolder = files->directory().absolutePath();
                if (answer.isEmpty())
                    return int(QDialog::Rejected);
                files->selectFile(answer);
                return int(QDialog::Accepted);
            }
            if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
                asked.append({"box", box->text(), box->windowTitle()});
                return int(QMessageBox::Ok);
            }
            asked.append({dialog->metaObject()->className(), QString(), dialog->windowTitle()});
            return int(QDialog::Accepted);
        });
    }
    ~Answerer() { ZyModalRunner::setHandler({}); }

    QString answer;
    QString proposedFolder;
    QList<Asked> asked;
};

} // namespace recotest

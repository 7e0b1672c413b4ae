// Reads the sensor's event history backwards from its newest entry.
#include "HistoryWalk.h"

#include "DlgMsgs.h"
#include "ZyDialogs.h"
#include "MsgManager.h"
#include "PXRPrivateToolBox.h"
#include "ZyModalRunner.h"

#include <QByteArray>
#include <QProgressDialog>

#include <utility>

HistoryWalk::~HistoryWalk()
{
    for (PXRMsg *entry : std::as_const(m_entries))
        PXRMsgDestroy(entry);
}

void HistoryWalk::run()
{
    QProgressDialog progress(tr("Requesting history..."), tr("Stop"), 0, 0, m_window);
    progress.setModal(true);
    ZyModalRunner::show(&progress);
    collect(progress);
    progress.hide();
    DlgMsgs list(m_window);
    list.exec(m_entries);
}

void HistoryWalk::collect(QProgressDialog &progress)
{
    PXRMsg *request = PXRMsgCreate();
    PXRMsgElement *root = PXRMsgElementCreate("getLog");
    PXRMsgSetChild(request, root);
    uint32_t id = 0;
    for (;;) {
        PXRMsgSetReadOnly(request, 0);
        PXRMsgElementSetAttributeUInt(root, "id", id);
        progress.setLabelText(tr("Requesting history (%1)...").arg(m_entries.size()));
        QCoreApplication::processEvents();
        if (progress.wasCanceled())
            break;
        PXRMsg *answer = MsgManager::sendRequest(request);
        // The entries collected so far are still shown after an error.
        if (answer == nullptr) {
            ZyDialogs::critical(m_window, tr("Error"), tr("No answer from sensor"));
            break;
        }
        if (PXRPToolIsAnswer(answer)) {
            // A status answer to a later request means there is no older entry.
            if (m_entries.isEmpty())
                MsgManager::checkAnswer(m_window, tr("History"), answer);
            PXRMsgDestroy(answer);
            break;
        }
        if (!take(answer, &id))
            break;
    }
    PXRMsgDestroy(request);
}

bool HistoryWalk::take(PXRMsg *entry, uint32_t *id)
{
    m_entries.append(entry);
    PXRMsgElement *root = PXRMsgChild(entry);
    const char *text = root != nullptr ? PXRMsgElementAttributeValue(root, "id") : nullptr;
    if (text == nullptr) {
        ZyDialogs::critical(m_window, tr("Error"), tr("The answered message has no Id"));
        return false;
    }
    // Ids count down to 1; one that is not a positive number, or an entry newer than the id
    // asked for (0 asks for the newest), would make the walk ask again without end.
    bool number = false;
    const uint32_t entryId = QByteArray(text).toUInt(&number);
    if (!number || entryId == 0 || (*id != 0 && entryId > *id))
        return false;
    *id = entryId - 1;
    return *id != 0;
}

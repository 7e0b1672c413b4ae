// A request to the master sensor built as paths of elements, sent and judged under a title.
#include "ConfigRequest.h"

#include "MsgManager.h"

ConfigRequest::ConfigRequest(const char *rootName) : m_message(pxrMsgWithRoot(rootName)) {}

bool ConfigRequest::send(QWidget *parent, const QString &title) const
{
    const PXRMessage answer(MsgManager::sendRequest(m_message.get()));
    return MsgManager::checkAnswer(parent, title, answer.get());
}

#include "app/BVDDEClient.h"

void cBVDDEClient::OnTerminated()
{
    if (m_receiver != nullptr)
        m_receiver->OnConversationEnded();
}

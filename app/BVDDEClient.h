#pragma once

#include "app/AckReceiver.h"
#include "app/DDEClient.h"

// The DDE client that talks to the editor: it tells its receiver when a
// conversation has ended.
class cBVDDEClient : public cDDEClient
{
public:
    cBVDDEClient() = default;
    explicit cBVDDEClient(cAckReceiver* receiver) : m_receiver(receiver) {}

    void SetReceiver(cAckReceiver* receiver) { m_receiver = receiver; }
    cAckReceiver* Receiver() const { return m_receiver; }

protected:
    void OnTerminated() override;

private:
    cAckReceiver* m_receiver = nullptr;
};

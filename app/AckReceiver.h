#pragma once

// Told when a conversation with the editor has ended, so that the next
// waiting file can be sent.
class cAckReceiver
{
public:
    virtual ~cAckReceiver() = default;
    virtual void OnConversationEnded() = 0;
};

// The DDE client against servers in the test's own process: what it
// broadcasts, which server it chooses, what it frees and deletes, and which
// terminate ends its conversation.

#include <gtest/gtest.h>

#include <windows.h>
#include <dde.h>

#include "app/BVDDEClient.h"
#include "tests/helpers/FakeDDEServer.h"
#include "tests/helpers/MessagePump.h"

#include <memory>
#include <string>
#include <vector>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace {

// Service names of these tests only, so that no other server answers and
// their atoms are not in use elsewhere.
const wchar_t ServiceName[] = L"QsClientTestService";
const char16_t* const Service = u"QsClientTestService";

struct sServerLog
{
    std::vector<std::wstring> commands;
    std::vector<std::wstring> events;
};

std::unique_ptr<Testing::cFakeDDEServer> MakeServer(sServerLog& log, const wchar_t* service = ServiceName)
{
    auto server = std::make_unique<Testing::cFakeDDEServer>(
        service, [&log](Testing::cFakeDDEServer::eRecord kind, const std::wstring& text) {
            (kind == Testing::cFakeDDEServer::Command ? log.commands : log.events).push_back(text);
        });
    return server->Create() ? std::move(server) : nullptr;
}

class cCountingClient : public cDDEClient
{
public:
    int terminated = 0;
    int acknowledged = 0;

protected:
    LRESULT OnAcknowledge(WPARAM wParam, LPARAM lParam) override
    {
        ++acknowledged;
        return cDDEClient::OnAcknowledge(wParam, lParam);
    }
    void OnTerminated() override { ++terminated; }
};

// A message-only client window whose messages go to the client first.
class cClientWindow
{
public:
    explicit cClientWindow(cDDEClient& client) : m_client(client)
    {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QsClientTestWindow";
        RegisterClassExW(&windowClass);
        m_window = CreateWindowExW(0, L"QsClientTestWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleW(nullptr), this);
    }
    ~cClientWindow() { DestroyWindow(m_window); }
    HWND Handle() const { return m_window; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE)
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<cClientWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        LRESULT result = 0;
        if (self != nullptr && self->m_client.FilterMessage(message, wParam, lParam, result))
            return result;
        return DefWindowProcW(window, message, wParam, lParam);
    }

    cDDEClient& m_client;
    HWND m_window = nullptr;
};

class DDEClient : public ::testing::Test
{
protected:
    cCountingClient client;
    cClientWindow window{client};
};

} // namespace

TEST_F(DDEClient, SendsTheCommandInOneConversationAndHearsItsEnd)
{
    sServerLog log;
    auto server = MakeServer(log);
    ASSERT_NE(server, nullptr);
    ASSERT_NE(window.Handle(), nullptr);

    const Container::cWideString command(u"[open(\"C:\\shots\\a \\\"b\\\".png\")]");
    ASSERT_TRUE(client.Execute(window.Handle(), Service, command));
    EXPECT_EQ(client.ServerWindow(), server->Window());
    EXPECT_EQ(client.MessageInProgress(), static_cast<UINT>(WM_DDE_TERMINATE));
    ASSERT_TRUE(Testing::PumpUntil([&] { return client.terminated > 0; }, 5000));
    Testing::DrainMessages();

    ASSERT_EQ(log.commands.size(), 1u);
    EXPECT_EQ(log.commands[0], L"[open(\"C:\\shots\\a \\\"b\\\".png\")]");
    EXPECT_EQ(log.events, (std::vector<std::wstring>{L"initiate", L"terminate"}));
    EXPECT_EQ(client.terminated, 1);
    EXPECT_EQ(client.ServerWindow(), nullptr);
    EXPECT_EQ(client.MessageInProgress(), 0u);
    EXPECT_EQ(server->OpenConversations(), 0u);
}

TEST_F(DDEClient, DeletesEveryAtomAndFreesTheBlockTheServerHandsBack)
{
    sServerLog log;
    auto server = MakeServer(log);
    ASSERT_NE(server, nullptr);
    ASSERT_EQ(GlobalFindAtomW(ServiceName), 0) << "the service atom is in use before the test";

    ASSERT_TRUE(client.Execute(window.Handle(), Service, Container::cWideString(u"[open(\"x.png\")]")));
    // Its own atoms and the two of the server's answer are gone at once.
    EXPECT_EQ(GlobalFindAtomW(ServiceName), 0);
    const HGLOBAL block = client.PendingCommand();
    ASSERT_NE(block, nullptr);
    EXPECT_NE(GlobalSize(block), 0u);
    ASSERT_TRUE(Testing::PumpUntil([&] { return client.terminated > 0; }, 5000));

    // The answer to the initiate and the one to the command; the second
    // handed the block back, and a freed handle has no size any more.
    EXPECT_EQ(client.acknowledged, 2);
    EXPECT_EQ(client.PendingCommand(), nullptr);
    EXPECT_EQ(GlobalSize(block), 0u);
}

TEST_F(DDEClient, FailsWithoutTouchingAnyServerForAnEmptyCommand)
{
    sServerLog log;
    auto server = MakeServer(log);
    ASSERT_NE(server, nullptr);
    EXPECT_FALSE(client.Execute(window.Handle(), Service, Container::cWideString()));
    EXPECT_FALSE(client.Execute(window.Handle(), Service, Container::cWideString(u"")));
    Testing::DrainMessages();
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(client.ServerWindow(), nullptr);
}

TEST_F(DDEClient, FailsWhenNoServerAnswersAndLeavesNoAtomBehind)
{
    sServerLog log;
    auto other = MakeServer(log, L"QsClientTestOtherService");
    ASSERT_NE(other, nullptr);
    EXPECT_FALSE(client.Execute(window.Handle(), Service, Container::cWideString(u"[open(\"x.png\")]")));
    EXPECT_EQ(client.ServerWindow(), nullptr);
    EXPECT_EQ(client.MessageInProgress(), 0u);
    EXPECT_EQ(GlobalFindAtomW(ServiceName), 0);
    Testing::DrainMessages();
    EXPECT_TRUE(log.events.empty()) << "a server of another service answered";
}

TEST_F(DDEClient, ChoosesOneServerEndsTheOthersAndIgnoresTheirTerminate)
{
    sServerLog firstLog;
    sServerLog secondLog;
    auto first = MakeServer(firstLog);
    auto second = MakeServer(secondLog);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);

    ASSERT_TRUE(client.Execute(window.Handle(), Service, Container::cWideString(u"[open(\"x.png\")]")));
    const HWND chosen = client.ServerWindow();
    ASSERT_TRUE(chosen == first->Window() || chosen == second->Window());
    sServerLog& chosenLog = chosen == first->Window() ? firstLog : secondLog;
    sServerLog& otherLog = chosen == first->Window() ? secondLog : firstLog;

    // The turned-down server answers the terminate it was sent before the
    // chosen one has even seen the command; that answer must not end the
    // conversation.
    ASSERT_TRUE(Testing::PumpUntil([&] { return client.terminated > 0; }, 5000));
    Testing::DrainMessages();
    EXPECT_EQ(client.terminated, 1);
    EXPECT_EQ(chosenLog.commands, (std::vector<std::wstring>{L"[open(\"x.png\")]"}));
    EXPECT_EQ(chosenLog.events, (std::vector<std::wstring>{L"initiate", L"terminate"}));
    EXPECT_TRUE(otherLog.commands.empty());
    EXPECT_EQ(otherLog.events, (std::vector<std::wstring>{L"initiate", L"terminate"}));
    EXPECT_EQ(first->OpenConversations() + second->OpenConversations(), 0u);
}

TEST_F(DDEClient, RefusesASecondConversationWhileOneIsOpen)
{
    sServerLog log;
    auto server = MakeServer(log);
    ASSERT_NE(server, nullptr);
    ASSERT_TRUE(client.Execute(window.Handle(), Service, Container::cWideString(u"[open(\"1.png\")]")));
    EXPECT_FALSE(client.Execute(window.Handle(), Service, Container::cWideString(u"[open(\"2.png\")]")));
    ASSERT_TRUE(Testing::PumpUntil([&] { return client.terminated > 0; }, 5000));
    ASSERT_TRUE(client.Execute(window.Handle(), Service, Container::cWideString(u"[open(\"3.png\")]")));
    ASSERT_TRUE(Testing::PumpUntil([&] { return client.terminated > 1; }, 5000));
    EXPECT_EQ(log.commands, (std::vector<std::wstring>{L"[open(\"1.png\")]", L"[open(\"3.png\")]"}));
    EXPECT_EQ(log.events, (std::vector<std::wstring>{L"initiate", L"terminate", L"initiate", L"terminate"}));
}

TEST_F(DDEClient, ATerminateFromAWindowThatIsNotTheServerChangesNothing)
{
    sServerLog log;
    auto server = MakeServer(log);
    ASSERT_NE(server, nullptr);
    ASSERT_TRUE(client.Execute(window.Handle(), Service, Container::cWideString(u"[open(\"x.png\")]")));
    LRESULT result = 0;
    EXPECT_FALSE(client.FilterMessage(WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window.Handle()), 0, result));
    EXPECT_EQ(client.terminated, 0);
    EXPECT_EQ(client.ServerWindow(), server->Window());
    ASSERT_TRUE(Testing::PumpUntil([&] { return client.terminated > 0; }, 5000));
}

TEST(BVDDEClient, TellsItsReceiverWhenTheConversationEnds)
{
    struct cReceiver : cAckReceiver
    {
        int ended = 0;
        void OnConversationEnded() override { ++ended; }
    } receiver;
    cBVDDEClient client(&receiver);
    cClientWindow window(client);
    sServerLog log;
    auto server = MakeServer(log);
    ASSERT_NE(server, nullptr);
    ASSERT_TRUE(client.Execute(window.Handle(), Service, Container::cWideString(u"[open(\"x.png\")]")));
    ASSERT_TRUE(Testing::PumpUntil([&] { return receiver.ended > 0; }, 5000));
    EXPECT_EQ(receiver.ended, 1);
    EXPECT_EQ(log.commands.size(), 1u);
}

TEST(DDEClientBeforeUse, HandlesNoMessageBeforeItsFirstConversation)
{
    cCountingClient client;
    LRESULT result = 0;
    EXPECT_FALSE(client.FilterMessage(WM_DDE_ACK, 1, 0, result));
    EXPECT_FALSE(client.FilterMessage(WM_DDE_TERMINATE, 1, 0, result));
    EXPECT_EQ(client.terminated, 0);
}

#include "platform/window_messages.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>

#include <climits>
#include <cstring>
#include <filesystem>
#include <memory>
#include <tuple>
#include <vector>

#include "helper_process.h"
#include "platform/message_datagram.h"
#include "platform/message_socket.h"
#include "platform/registered_messages.h"
#include "platform/runtime_folder.h"

namespace vesk {
namespace {

using Received = std::tuple<uint16_t, uintptr_t, intptr_t>;

// A window of this process that records what it receives.
struct RecordingWindow {
  RecordingWindow(std::string_view className, std::string_view caption)
      : window(className, caption, [this](uint16_t message, uintptr_t wParam, intptr_t lParam) {
          received.emplace_back(message, wParam, lParam);
        }) {}

  std::vector<Received> received;
  TopLevelWindow window;
};

// A helper process with one window; quits on "QuitHelper".
class HelperWindow {
 public:
  HelperWindow(const QString& className, const QString& caption, const QString& mode = "window")
      : process_({mode, className, caption, "QuitHelper"}) {
    const std::string ready = process_.ReadLine();
    EXPECT_EQ(ready.rfind("ready ", 0), 0u) << ready;
    handle_ = ready.substr(6);
  }

  HelperProcess& Process() { return process_; }
  // As the helper printed it.
  const std::string& Handle() const { return handle_; }

 private:
  HelperProcess process_;
  std::string handle_;
};

std::string Line(uint16_t message, uintptr_t wParam, intptr_t lParam) {
  return std::to_string(message) + " " + std::to_string(wParam) + " " + std::to_string(lParam);
}

bool Exists(const std::string& path) { return std::filesystem::exists(std::filesystem::symlink_status(path)); }

TEST(Windows, FoundAcrossProcessesByClassAndCaptionWithoutRegardToCase) {
  // The helper never shows anything: its window is as hidden as alarm's.
  HelperWindow helper("VeskTestWindow",
                      "Termine \xC3\x9C"
                      "bersicht");
  std::optional<WindowHandle> found = FindWindow("vesktestwindow",
                                                 "TERMINE \xC3\xBC"
                                                 "BERSICHT");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->AsString(), helper.Handle());
  EXPECT_EQ(found->process, helper.Process().Pid());
  EXPECT_EQ(FindWindow("",
                       "termine \xC3\xBC"
                       "bersicht"),
            found)
      << "empty class matches any";
  EXPECT_EQ(FindWindow("VeskTestWindow", ""), found) << "empty caption matches any";
  EXPECT_FALSE(FindWindow("VeskTestWindow", "Termine"));
  EXPECT_FALSE(FindWindow("VeskTest",
                          "Termine \xC3\x9C"
                          "bersicht"));

  // The helper finds a window of this process, and posting needs no
  // application object there.
  const uint16_t vesk = RegisterWindowMessage("VeskTools");
  RecordingWindow host("TFRVeskTools", "Tools");
  HelperProcess poster({"post", "tfrveskTOOLS", "tools", "VeskTools", "1", "0"});
  EXPECT_EQ(poster.ExitCode(), 0);
  ASSERT_TRUE(WaitFor([&] { return !host.received.empty(); }));
  EXPECT_EQ(host.received, (std::vector<Received>{{vesk, 1, 0}}));
  HelperProcess missing({"post", "TFRVeskTools", "Werkzeuge", "VeskTools", "0", "0"});
  EXPECT_EQ(missing.ExitCode(), 3);
}

TEST(Windows, RegistrationNeedsAnApplication) {
  HelperProcess helper({"window-without-application", "VeskTestWindow", "Ohne"});
  EXPECT_EQ(helper.ExitCode(), 5);
  EXPECT_FALSE(FindWindow("VeskTestWindow", "Ohne"));
}

TEST(Windows, CaptionChangeAndUnregisterSeenByLookup) {
  auto window = std::make_unique<RecordingWindow>("TFRNotizen", "Notizen");
  const WindowHandle handle = window->window.Handle();
  EXPECT_EQ(handle.process, static_cast<uint32_t>(getpid()));
  EXPECT_EQ(FindWindow("TFRNotizen", "Notizen"), handle);
  ASSERT_TRUE(window->window.SetCaption("Notizen - Privat"));
  EXPECT_FALSE(FindWindow("TFRNotizen", "Notizen"));
  EXPECT_EQ(FindWindow("TFRNotizen", "notizen - privat"), handle);
  window.reset();
  EXPECT_FALSE(FindWindow("TFRNotizen", ""));
  EXPECT_FALSE(PostMessage(handle, 0xC000, 0, 0));
  RecordingWindow next("TFRNotizen", "Notizen");
  EXPECT_NE(next.window.Handle(), handle) << "numbers are not reused";
}

TEST(Messages, PostedAcrossProcessesWithTheirParameters) {
  HelperWindow helper("VeskTestWindow", "Echo");
  std::optional<WindowHandle> window = FindWindow("VeskTestWindow", "Echo");
  ASSERT_TRUE(window);
  const uint16_t message = RegisterWindowMessage("EchoThis");
  ASSERT_TRUE(PostMessage(*window, message, 7, -5));
  ASSERT_TRUE(PostMessage(*window, message, UINTPTR_MAX, INTPTR_MIN));
  ASSERT_TRUE(PostMessage(*window, 0x0010, 0, INTPTR_MAX)) << "any identifier can be posted";
  EXPECT_EQ(helper.Process().ReadLine(), Line(message, 7, -5));
  EXPECT_EQ(helper.Process().ReadLine(), Line(message, UINTPTR_MAX, INTPTR_MIN));
  EXPECT_EQ(helper.Process().ReadLine(), Line(0x0010, 0, INTPTR_MAX));
  const uint16_t quit = RegisterWindowMessage("QuitHelper");
  ASSERT_TRUE(PostMessage(*window, quit, 3, 0));
  EXPECT_EQ(helper.Process().ReadLine(), Line(quit, 3, 0));
  EXPECT_EQ(helper.Process().ExitCode(), 3);
}

// A receiver that does not read: posts fail once its queue is full, and
// exactly the posts reported as done arrive, in order.
TEST(Messages, FullQueueReportedAndNothingLost) {
  HelperWindow helper("VeskTestWindow", "Angehalten");
  std::optional<WindowHandle> window = FindWindow("VeskTestWindow", "Angehalten");
  ASSERT_TRUE(window);
  const uint16_t message = RegisterWindowMessage("EchoThis");
  ASSERT_EQ(kill(static_cast<pid_t>(helper.Process().Pid()), SIGSTOP), 0);
  std::vector<int> accepted;
  for (int i = 0; i < 2000; ++i) {
    if (PostMessage(*window, message, i, 0)) accepted.push_back(i);
  }
  ASSERT_EQ(kill(static_cast<pid_t>(helper.Process().Pid()), SIGCONT), 0);
  EXPECT_LT(accepted.size(), 2000u);
  ASSERT_FALSE(accepted.empty());
  for (int i : accepted) ASSERT_EQ(helper.Process().ReadLine(), Line(message, i, 0));
  EXPECT_TRUE(helper.Process().Silent());
  EXPECT_TRUE(FindWindow("VeskTestWindow", "Angehalten")) << "a full queue is no reason to clean up";
}

TEST(Messages, ForkedChildEndingLeavesTheSocketToItsParent) {
  HelperWindow helper("VeskTestWindow", "Elternteil", "forking-window");
  std::optional<WindowHandle> window = FindWindow("VeskTestWindow", "Elternteil");
  ASSERT_TRUE(window);
  const uint16_t message = RegisterWindowMessage("EchoThis");
  ASSERT_TRUE(PostMessage(*window, message, 8, 8));
  EXPECT_EQ(helper.Process().ReadLine(), Line(message, 8, 8));
}

TEST(Messages, BroadcastReachesEveryWindowOfTheUser) {
  HelperWindow first("Alarm", "Alarm");
  HelperWindow second("VeskTestWindow", "Zweites");
  RecordingWindow own("TFRTermine", "Termine");
  const uint16_t quit = RegisterWindowMessage("QuitHelper");
  BroadcastMessage(quit, 0, 42);
  EXPECT_EQ(first.Process().ReadLine(), Line(quit, 0, 42));
  EXPECT_EQ(second.Process().ReadLine(), Line(quit, 0, 42));
  EXPECT_EQ(first.Process().ExitCode(), 0);
  EXPECT_EQ(second.Process().ExitCode(), 0);
  ASSERT_TRUE(WaitFor([&] { return !own.received.empty(); }));
  EXPECT_EQ(own.received, (std::vector<Received>{{quit, 0, 42}}));

  // From a process without windows of its own.
  HelperProcess broadcaster({"broadcast", "AlarmAus", "5", "-6"});
  EXPECT_EQ(broadcaster.ExitCode(), 0);
  ASSERT_TRUE(WaitFor([&] { return own.received.size() == 2; }));
  EXPECT_EQ(own.received[1], Received(RegisterWindowMessage("AlarmAus"), 5, -6));
}

TEST(Messages, VanishedWindowIsNotFoundAndPostFails) {
  HelperWindow helper("VeskTestWindow", "Verschwindet");
  std::optional<WindowHandle> window = FindWindow("VeskTestWindow", "Verschwindet");
  ASSERT_TRUE(window);
  const std::string folder = RuntimeFolder();
  const std::string socket = SocketPath(folder, window->process);
  const std::string entry =
      folder + "/" + std::to_string(window->process) + "." + std::to_string(window->number) + ".window";
  ASSERT_TRUE(Exists(socket));
  ASSERT_TRUE(Exists(entry));

  helper.Process().Kill();  // no chance to clean up
  EXPECT_FALSE(PostMessage(*window, RegisterWindowMessage("EchoThis"), 1, 1));
  EXPECT_FALSE(Exists(socket)) << "the post found nobody listening and cleaned up";
  EXPECT_FALSE(Exists(entry));
  EXPECT_FALSE(FindWindow("VeskTestWindow", "Verschwindet"));
  EXPECT_FALSE(PostMessage(*window, RegisterWindowMessage("EchoThis"), 1, 1));
  EXPECT_FALSE(PostMessage(WindowHandle{window->process, 0}, 1, 1, 1)) << "0 is no window";
}

TEST(Messages, LookupCleansUpAfterKilledProcess) {
  HelperWindow helper("VeskTestWindow", "Getötet");
  const std::string socket = SocketPath(RuntimeFolder(), helper.Process().Pid());
  helper.Process().Kill();
  ASSERT_TRUE(Exists(socket)) << "left behind by the killed process";
  EXPECT_FALSE(FindWindow("VeskTestWindow", "Getötet"));
  EXPECT_FALSE(Exists(socket));
}

// Sends raw bytes to a process's socket, as a faulty or hostile sender would.
void SendRaw(uint32_t process, std::string_view bytes) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = SocketPath(RuntimeFolder(), process);
  ASSERT_LT(path.size(), sizeof address.sun_path);
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&address), sizeof address),
            static_cast<ssize_t>(bytes.size()));
  close(fd);
}

TEST(Messages, MalformedAndOversizedDatagramsDropped) {
  HelperWindow helper("VeskTestWindow", "Robust");
  std::optional<WindowHandle> window = FindWindow("VeskTestWindow", "Robust");
  ASSERT_TRUE(window);
  const uint16_t message = RegisterWindowMessage("EchoThis");
  const auto valid = EncodeDatagram({window->number, message, 1, 2});
  const std::string good(valid.data(), valid.size());

  std::string badMagic = good;
  badMagic[0] = 'X';
  std::string reserved = good;
  reserved[10] = 1;
  SendRaw(window->process, "");
  SendRaw(window->process, good.substr(0, 3));
  SendRaw(window->process, good.substr(0, kDatagramSize - 1));
  SendRaw(window->process, good + "x");
  SendRaw(window->process, badMagic);
  SendRaw(window->process, reserved);
  SendRaw(window->process, good + std::string(100000, 'x'));
  EXPECT_TRUE(helper.Process().Silent());
  ASSERT_TRUE(helper.Process().Running());

  // A well-formed datagram for a window the process does not have.
  SendRaw(window->process, [&] {
    const auto other = EncodeDatagram({window->number + 1, message, 3, 4});
    return std::string(other.data(), other.size());
  }());
  ASSERT_TRUE(PostMessage(*window, message, 9, 9));
  EXPECT_EQ(helper.Process().ReadLine(), Line(message, 9, 9));
  SendRaw(window->process, good);
  EXPECT_EQ(helper.Process().ReadLine(), Line(message, 1, 2));
}

TEST(Messages, PostWithinProcessReturnsBeforeHandlerRuns) {
  RecordingWindow window("TFRAdressen", "Adressen");
  constexpr int kPosts = 100;  // more than a socket queue holds
  for (int i = 0; i < kPosts; ++i) ASSERT_TRUE(PostMessage(window.window.Handle(), 0xC123, i, -i));
  EXPECT_TRUE(window.received.empty());
  ASSERT_TRUE(WaitFor([&] { return window.received.size() == kPosts; }));
  for (int i = 0; i < kPosts; ++i) EXPECT_EQ(window.received[i], Received(0xC123, i, -i)) << i;
}

// A handler may end windows, its own included; a broadcast skips the ones
// that have gone and calls each remaining window once.
TEST(Messages, HandlersThatEndWindowsDuringBroadcast) {
  std::unique_ptr<TopLevelWindow> first, second, third;
  std::vector<std::string> calls;
  first = std::make_unique<TopLevelWindow>("T", "1", [&](uint16_t, uintptr_t, intptr_t) {
    calls.push_back("1");
    first.reset();
    second.reset();
  });
  second = std::make_unique<TopLevelWindow>("T", "2", [&](uint16_t, uintptr_t, intptr_t) { calls.push_back("2"); });
  third = std::make_unique<TopLevelWindow>("T", "3", [&](uint16_t, uintptr_t, intptr_t) { calls.push_back("3"); });
  const WindowHandle gone = second->Handle();
  ASSERT_TRUE(PostMessage(gone, 0xC200, 0, 0)) << "queued before the window ends";
  BroadcastMessage(0xC200, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return calls.size() >= 3; }));
  QCoreApplication::processEvents();
  EXPECT_EQ(calls, (std::vector<std::string>{"2", "1", "3"}));
  EXPECT_FALSE(first);
  EXPECT_FALSE(PostMessage(gone, 0xC200, 0, 0));
}

}  // namespace
}  // namespace vesk

#pragma once
// Error notices to the operators' workstations: each is one UDP datagram sent
// by orvella-netsend, started as a detached child with an argv (never a
// shell), and shown there by "orvella-netsend --listen".
#include <cstdint>
#include <filesystem>
#include <string>

namespace orvella::logging {

inline constexpr std::uint16_t kNetSendPort = 5151;

inline constexpr const char* kNoticeTemplate = "%s で次のエラーが発生しました。\r\n\r\n  ** %s **";
inline constexpr const char* kNoticeSent = "エラーメッセージを送信しました(IPアドレス: %s)";
inline constexpr const char* kMessengerNotRunning =
    "Messengerサービスが起動されていないため、メッセージが送信できません。サービスを起動してください。";

// How notices leave this machine.
struct NetSendCommand {
  std::filesystem::path tool;  // the orvella-netsend program
  std::uint16_t port = kNetSendPort;
};
// orvella-netsend in executableFolder (ProcessFolders::executable: beside the
// running executable), on the standard port.
NetSendCommand NetSendBeside(const std::filesystem::path& executableFolder);

// Whether workstations can be told at all; there is no service to ask here.
bool IsMessengerRunning();

// Starts the sender for message to address and does not wait for it. False
// only when it could not be started; an empty address does nothing.
bool RunNetSend(const NetSendCommand& command, const std::string& address, const std::string& message);

// Tells the configured workstations (preferences, in order 1 to 3) about a
// failed job, logging each notice in the daily job log.
void NotifyError(const std::filesystem::path& program, const std::string& errorText,
                 const NetSendCommand& command);

}  // namespace orvella::logging

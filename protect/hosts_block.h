// The ad-server block in the Windows hosts file: ICQ's ad servers mapped to the loopback
// address, and those mappings taken out again.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "engine/run_context.h"

namespace kelvane {

// ICQ's ad servers, in three domains; within each domain the sub-domains come first and the
// bare domain last.
inline constexpr std::array<std::string_view, 8> AdServerHosts = {
    // Domain A
    "ar.atwola.com",
    "cdn.atwola.com",
    "atwola.com",
    // Domain B
    "adserver.adtech.de",
    "adtech.de",
    // Domain C
    "servedby.advertising.com",
    "ads.advertising.com",
    "advertising.com",
};

// One mark for each of the hosts, in their order.
using AdHostMarks = std::array<bool, AdServerHosts.size()>;

// What stands in front of a host name in its entry line.
inline constexpr std::string_view kLoopbackPrefix = "127.0.0.1 ";
// What stands behind the host name in the lines Kelvane appends: a comment, which tells
// Kelvane's lines from the user's whatever the user adds, changes or puts back since.
inline constexpr std::string_view kOurMark = " # Kelvane";

// The line the block appends for the host, without its line end.
std::string OurEntryLine(size_t host);

// The hosts file: the system folder followed by "drivers\etc\hosts".
std::string HostsFilePath(SystemInfo& system);

// Kept once beside the hosts file before Kelvane changes it for the first time.
inline constexpr char kHostsBackupSuffix[] = ".kelvane-backup";

// The hosts text with every ad server blocked: our entry line is appended for each host without
// an active entry, and commented entries stay comments. Every line keeps its bytes, its own line
// end (CR LF, LF or CR) and its place; blank lines at the end are dropped and the text ends in
// exactly one CR LF.
std::string BlockAdHostsText(std::string_view hosts);

// The hosts text without the lines a block appended; the user's own entries stay. The same
// promise for every other line and for the end of the text.
std::string UnblockAdHostsText(std::string_view hosts);

// Which of the hosts have an active entry in the hosts text: one not commented out. Nullopt for
// UTF-16 text.
std::optional<AdHostMarks> ActiveAdHostEntries(std::string_view hosts);
// The same for a file, read piece by piece; nullopt too when it is missing or unreadable.
std::optional<AdHostMarks> ActiveAdHostEntriesIn(FileSystem& fs, const std::string& path);

// Blocks the ad servers in the hosts file. Raises HostsAccessDenied when the file is missing,
// unreadable, UTF-16 text or cannot be changed; it then keeps its old bytes. A UTF-8 byte-order
// mark stays at the start of the file.
void BlockAdHosts(RunContext& run);

// Takes the lines a block appended out of the hosts file. Silent when the file is missing or
// holds none; raises HostsAccessDenied when they should go but the file cannot be changed, and
// DataAccessFailed when it cannot be read. The old bytes stay on failure; UTF-16 text is left
// alone.
void UnblockAdHosts(RunContext& run);

}  // namespace kelvane

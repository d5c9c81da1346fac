#pragma once

#include <chrono>

namespace vendra::limits {

// How long a page fetch may stall (connecting or transferring) before it counts as failed.
inline constexpr std::chrono::milliseconds kFetchTimeout{30000};
// How long a page fetch may take in all, however steadily its bytes trickle in.
inline constexpr std::chrono::milliseconds kFetchDeadline{60000};
// How long the desktop's proxy settings for a host are used before they are asked for again.
inline constexpr std::chrono::milliseconds kProxySettingsLifetime{5000};

}  // namespace vendra::limits

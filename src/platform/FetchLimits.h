#pragma once

#include <chrono>
#include <cstddef>

namespace vendra::limits {

// How long a page fetch may stall (connecting or transferring) before it counts as failed.
inline constexpr std::chrono::milliseconds kFetchTimeout{30000};
// How long a page fetch may take in all, however steadily its bytes trickle in.
inline constexpr std::chrono::milliseconds kFetchDeadline{60000};
// The most a page's body may hold. The site's pages are tens to hundreds of kilobytes, so a body
// past this is a fault of the server, abandoned before it can exhaust memory.
inline constexpr std::size_t kPageBytes = std::size_t{32} << 20;
// The most the header lines of a page's answers may hold in all (interim answers and redirects
// included): a server that sends headers without end is abandoned long before memory runs short.
inline constexpr std::size_t kHeaderBytes = std::size_t{256} << 10;
// How many redirects a page may take before it counts as failed.
inline constexpr int kRedirects = 20;
// How long the desktop's proxy settings for a host are used before they are asked for again.
inline constexpr std::chrono::milliseconds kProxySettingsLifetime{5000};

}  // namespace vendra::limits

#pragma once

#include <boost/asio/io_context.hpp>
#include <cstdio>
#include <vector>

#include "Faults.h"

namespace vendra::site {

// Opens the site on 127.0.0.1:`port` (0: any free port) and serves it in `io` for as long as `io`
// runs, on that one thread: every request is answered from the page library, logged to `log`
// (unless null) and given the faults that match it. Returns the port; throws
// boost::system::system_error when the port cannot be had. `httpsPort`: where the `https` fault
// redirects to.
int StartSite(boost::asio::io_context& io, int port, std::vector<Fault> faults, std::FILE* log,
              int httpsPort = 0);

}  // namespace vendra::site

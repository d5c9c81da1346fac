#pragma once

#include <boost/asio/io_context.hpp>
#include <cstdio>
#include <string>

namespace vendra::site {

// Opens the site's https endpoint on 127.0.0.1 (any free port) with the certificate chain and
// private key of the PEM files given, and serves it in `io`: a target "/HOST/PATH?QUERY" gets the
// page of http://HOST/PATH?QUERY, without faults, each request logged to `log` (unless null) as
// "https GET TARGET". Returns the port; throws boost::system::system_error when the port or the
// files cannot be had.
int StartHttpsEndpoint(boost::asio::io_context& io, const std::string& certificateFile,
                       const std::string& keyFile, std::FILE* log);

}  // namespace vendra::site

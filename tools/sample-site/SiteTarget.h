#pragma once

#include <string>
#include <string_view>

namespace vendra::site {

// A request target cut into its pieces, still escaped as received.
struct TargetParts {
    std::string host;  // without a ":port"
    std::string path;
    std::string query;  // after the first "?"; empty when there is none
    std::string full;   // "http://" + host + path (+ "?" + query): what faults are matched against
};

// Splits a target in proxy form ("http://host/path?query") or in origin form ("/path?query", the
// host then taken from the Host header). A proxy-form target is `full` exactly as received.
TargetParts SplitTarget(std::string_view target, std::string_view hostHeader);

}  // namespace vendra::site

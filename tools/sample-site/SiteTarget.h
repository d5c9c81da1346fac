#pragma once

#include <string>
#include <string_view>

#include "SitePages.h"

namespace vendra::site {

// What a request target asks the site for.
struct SiteTarget {
    SiteRequest request;  // the host without a ":port", the path and the query's keys, decoded
    std::string full;  // "http://" + host + path (+ "?" + query): what faults are matched against
};

// Reads a target in proxy form ("http://host/path?query", then `full` exactly as received) or in
// origin form ("/path?query", the host then taken from the Host header).
SiteTarget ReadTarget(std::string_view target, std::string_view hostHeader);

}  // namespace vendra::site

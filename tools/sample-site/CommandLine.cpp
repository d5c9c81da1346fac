#include "CommandLine.h"

#include <charconv>
#include <string_view>

namespace vendra::site {

std::optional<Options> ParseCommandLine(int argc, char** argv, std::string& error) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string_view name = argv[i];
        std::optional<std::string_view> value;
        if (const std::size_t equals = name.find('=');
            name.starts_with("--") && equals != std::string_view::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name != "--port" && name != "--log" && name != "--fault" && name != "--hour" &&
            name != "--https-certificate" && name != "--https-key") {
            error = "unknown option: " + std::string(argv[i]);
            return std::nullopt;
        }
        if (!value) {
            if (i + 1 >= argc) {
                error = std::string(name) + " wants a value";
                return std::nullopt;
            }
            value = argv[++i];
        }
        if (name == "--port") {
            const auto [end, problem] =
                std::from_chars(value->data(), value->data() + value->size(), options.port);
            if (value->empty() || problem != std::errc() || end != value->data() + value->size() ||
                options.port < 0 || options.port > 65535) {
                error = "--port wants a number from 0 to 65535: " + std::string(*value);
                return std::nullopt;
            }
        } else if (name == "--hour") {
            const auto [end, problem] =
                std::from_chars(value->data(), value->data() + value->size(), options.hour);
            if (value->empty() || problem != std::errc() || end != value->data() + value->size() ||
                options.hour < 0 || options.hour > 10000) {
                error = "--hour wants a number from 0 to 10000: " + std::string(*value);
                return std::nullopt;
            }
        } else if (name == "--log") {
            options.logPath = std::string(*value);
        } else if (name == "--https-certificate") {
            options.httpsCertificate = std::string(*value);
        } else if (name == "--https-key") {
            options.httpsKey = std::string(*value);
        } else {
            auto fault = ParseFault(*value);
            if (!fault) {
                error = "not a fault (KIND@SUBSTRING): " + std::string(*value);
                return std::nullopt;
            }
            options.faults.push_back(std::move(*fault));
        }
    }
    return options;
}

}  // namespace vendra::site

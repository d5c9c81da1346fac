#include "ConnectionSockets.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <functional>

namespace vendra::site {
namespace {

int PortOf(const sockaddr_storage& address) {
    if (address.ss_family == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
    if (address.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
    return -1;
}

// Calls `visit` with each connected socket of the process and its local and remote ports.
void ForEachConnectedSocket(const std::function<void(int, int, int)>& visit) {
    DIR* directory = ::opendir("/proc/self/fd");
    if (!directory) return;
    const int own = ::dirfd(directory);
    while (const dirent* entry = ::readdir(directory)) {
        char* end = nullptr;
        const long fd = std::strtol(entry->d_name, &end, 10);
        if (end == entry->d_name || *end != '\0' || fd == own) continue;
        struct stat info {};
        if (::fstat(static_cast<int>(fd), &info) != 0 || !S_ISSOCK(info.st_mode)) continue;
        sockaddr_storage local{}, remote{};
        socklen_t localSize = sizeof local, remoteSize = sizeof remote;
        if (::getsockname(static_cast<int>(fd), reinterpret_cast<sockaddr*>(&local), &localSize) !=
                0 ||
            ::getpeername(static_cast<int>(fd), reinterpret_cast<sockaddr*>(&remote),
                          &remoteSize) != 0)
            continue;
        visit(static_cast<int>(fd), PortOf(local), PortOf(remote));
    }
    ::closedir(directory);
}

}  // namespace

int FindConnectionSocket(int localPort, int remotePort) {
    int found = -1;
    ForEachConnectedSocket([&](int fd, int local, int remote) {
        if (local == localPort && remote == remotePort) found = fd;
    });
    return found;
}

void CloseConnection(int socket) {
    if (socket >= 0) ::shutdown(socket, SHUT_RDWR);
}

void CloseAllConnections(int localPort) {
    ForEachConnectedSocket([&](int fd, int local, int) {
        if (local == localPort) ::shutdown(fd, SHUT_RDWR);
    });
}

void HoldConnection(int socket, int wakeFd) {
    pollfd watched[2] = {{wakeFd, POLLIN, 0}, {socket, POLLRDHUP, 0}};
    const nfds_t count = socket >= 0 ? 2 : 1;
    while (true) {
        const int ready = ::poll(watched, count, -1);
        if (ready < 0 && errno == EINTR) continue;
        if (ready != 0) return;
    }
}

}  // namespace vendra::site

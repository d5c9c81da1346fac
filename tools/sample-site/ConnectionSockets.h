#pragma once

// The sockets of accepted connections. The HTTP library keeps them to itself, so they are found
// by their ports among the process's open files; only faults and shutdown need them.
namespace vendra::site {

// The socket of the connection between our `localPort` and the client's `remotePort`, or -1.
int FindConnectionSocket(int localPort, int remotePort);

// Ends the connection both ways without a word; the library's own close follows later.
void CloseConnection(int socket);

// Ends every connection accepted on `localPort`.
void CloseAllConnections(int localPort);

// Returns when the client has closed its side of the connection or `wakeFd` becomes readable.
void HoldConnection(int socket, int wakeFd);

}  // namespace vendra::site

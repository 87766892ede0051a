// A stand-in for the Firebird server in the tests of tools/fbserver.sh: it
// listens on 127.0.0.1:OBRIX_FB_PORT like the server, starts one child of its
// own (as a server serving a connection would) and writes the child's id to
// $FIREBIRD/child.pid, then waits until a signal ends it.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main() {
    const char* port = std::getenv("OBRIX_FB_PORT");
    const char* root = std::getenv("FIREBIRD");
    if (!port || !root) return 2;

    const pid_t child = fork();
    if (child == 0) {
        for (;;) pause();
    }
    if (FILE* f = std::fopen((std::string(root) + "/child.pid").c_str(), "w")) {
        std::fprintf(f, "%d\n", int(child));
        std::fclose(f);
    }

    const int s = socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(uint16_t(std::atoi(port)));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(s, 8) != 0) return 3;
    for (;;) {
        const int c = accept(s, nullptr, nullptr);
        if (c >= 0) close(c);
    }
}

// Qt's VNC platform listens on every network interface and has no option to
// choose one. When VANTOR_VNC_LOCAL_ONLY is set, the program's own bind()
// stands in front of the C library's and moves a listening socket bound to
// "any address" to the loopback address, so the desktop is reachable from
// this machine only.
#include <arpa/inet.h>
#include <dlfcn.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdlib>
#include <cstring>

namespace {

using BindFunction = int (*)(int, const sockaddr*, socklen_t);

bool localOnly() {
  static const bool on = std::getenv("VANTOR_VNC_LOCAL_ONLY") != nullptr;
  return on;
}

}  // namespace

extern "C" int bind(int fd, const sockaddr* address, socklen_t length) {
  static BindFunction realBind = reinterpret_cast<BindFunction>(dlsym(RTLD_NEXT, "bind"));
  if (localOnly() && address != nullptr) {
    if (address->sa_family == AF_INET && length >= sizeof(sockaddr_in)) {
      sockaddr_in local;
      std::memcpy(&local, address, sizeof local);
      if (local.sin_addr.s_addr == htonl(INADDR_ANY)) {
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return realBind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local);
      }
    } else if (address->sa_family == AF_INET6 && length >= sizeof(sockaddr_in6)) {
      sockaddr_in6 local;
      std::memcpy(&local, address, sizeof local);
      if (std::memcmp(&local.sin6_addr, &in6addr_any, sizeof in6addr_any) == 0) {
        // 127.0.0.1 as an IPv4-mapped address, so IPv4 clients reach it too.
        inet_pton(AF_INET6, "::ffff:127.0.0.1", &local.sin6_addr);
        int no = 0;
        setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &no, sizeof no);
        return realBind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local);
      }
    }
  }
  return realBind(fd, address, length);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/serve/MetricsEndpoint.h"

#include "base/UniqueFd.h"
#include "monitor/serve/BasicAuth.h"

#include <arpa/inet.h>
#include <cerrno>
#include <civetweb.h>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <netinet/in.h>
#include <prometheus/collectable.h>
#include <prometheus/exposer.h>
#include <prometheus/text_serializer.h>
#include <sstream>
#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>

namespace velmora {
namespace {

class CallbackCollectable : public prometheus::Collectable {
public:
    explicit CallbackCollectable(MetricsEndpoint::Collect collect) : collect_(std::move(collect)) {}
    std::vector<prometheus::MetricFamily> Collect() const override { return collect_(); }

private:
    MetricsEndpoint::Collect collect_;
};

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The key and the certificate in one PEM, as civetweb reads them, in memory only: a file
// descriptor of its own, named through /proc/self/fd. Nothing of the key reaches a disk.
UniqueFd combinedPem(const EndpointSecurity& security) {
    UniqueFd fd(::memfd_create("velmora-tls", MFD_CLOEXEC));
    if (!fd.valid()) {
        throw ListenFailure("cannot hold the TLS key in memory", false);
    }
    std::string pem = fileText(security.keyFile) + "\n" + fileText(security.certFile);
    for (std::size_t done = 0; done < pem.size();) {
        ssize_t n = ::write(fd.get(), pem.data() + done, pem.size() - done);
        if (n <= 0 && errno != EINTR) {
            throw ListenFailure("cannot hold the TLS key in memory", false);
        }
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    return fd;
}

} // namespace

bool httpsAvailable() {
    // civetweb sets up OpenSSL only when its library is started with TLS, once per process,
    // before any server: without that a TLS connection is dropped, or worse.
    static const bool started = (mg_init_library(MG_FEATURES_TLS) & MG_FEATURES_TLS) != 0;
    return started;
}

std::string textExposition(const std::vector<prometheus::MetricFamily>& metrics) {
    std::ostringstream out;
    prometheus::TextSerializer().Serialize(out, metrics);
    return out.str();
}

bool addressInUse(const std::string& listen) {
    std::size_t colon = listen.rfind(':');
    if (colon == std::string::npos) {
        return false;
    }
    std::string host = listen.substr(0, colon);
    auto port = static_cast<uint16_t>(std::strtoul(listen.c_str() + colon + 1, nullptr, 10));
    sockaddr_storage storage{};
    socklen_t length = 0;
    if (host.size() > 2 && host.front() == '[') {
        auto* address = reinterpret_cast<sockaddr_in6*>(&storage);
        address->sin6_family = AF_INET6;
        address->sin6_port = htons(port);
        ::inet_pton(AF_INET6, host.substr(1, host.size() - 2).c_str(), &address->sin6_addr);
        length = sizeof *address;
    } else {
        auto* address = reinterpret_cast<sockaddr_in*>(&storage);
        address->sin_family = AF_INET;
        address->sin_port = htons(port);
        ::inet_pton(AF_INET, host.c_str(), &address->sin_addr);
        length = sizeof *address;
    }
    UniqueFd fd(::socket(storage.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0));
    int on = 1;
    ::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on); // as civetweb binds
    return fd.valid() && ::bind(fd.get(), reinterpret_cast<sockaddr*>(&storage), length) != 0 &&
           errno == EADDRINUSE;
}

MetricsEndpoint::MetricsEndpoint(const std::string& listen, Collect collect,
                                 EndpointSecurity security)
    : collectable_(std::make_shared<CallbackCollectable>(std::move(collect))) {
    const bool tls = !security.certFile.empty();
    std::vector<std::string> options = {"listening_ports", listen + (tls ? "s" : ""), "num_threads",
                                        "2"};
    UniqueFd pem;
    if (tls) {
        if (!httpsAvailable()) {
            throw ListenFailure(kHttpsUnavailable, false);
        }
        pem = combinedPem(security);
        options.insert(options.end(),
                       {"ssl_certificate", "/proc/self/fd/" + std::to_string(pem.get()),
                        "ssl_protocol_version", "4"}); // TLS 1.2 and later
    }
    try {
        exposer_ = std::make_unique<prometheus::Exposer>(options);
    } catch (const std::exception& error) {
        if (addressInUse(listen)) {
            throw ListenFailure("the address is already in use", true);
        }
        throw ListenFailure(tls ? std::string(error.what()) +
                                      " (HTTPS needs a certificate and its key in PEM)"
                                : std::string(error.what()),
                            false);
    }
    exposer_->RegisterCollectable(collectable_);
    if (security.auth) {
        std::shared_ptr<const BasicAuth> auth = security.auth;
        exposer_->RegisterAuth(
            [auth](const std::string& user, const std::string& password) {
                return auth->allows(user, password);
            },
            "velmora");
    }
}

MetricsEndpoint::~MetricsEndpoint() = default;

std::vector<int> MetricsEndpoint::ports() const {
    return exposer_->GetListeningPorts();
}

} // namespace velmora

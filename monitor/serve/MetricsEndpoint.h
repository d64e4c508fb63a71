// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <prometheus/metric_family.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace prometheus {
class Exposer;
class Collectable;
} // namespace prometheus

namespace velmora {

class BasicAuth;

// The metrics in Prometheus's text format, as /metrics serves them.
std::string textExposition(const std::vector<prometheus::MetricFamily>& metrics);

// Who may scrape, and over what: basic authentication when `auth` is set, HTTPS when a
// certificate and its key are named (PEM files).
struct EndpointSecurity {
    std::shared_ptr<const BasicAuth> auth;
    std::string certFile;
    std::string keyFile;
};

// Why the endpoint could not start; `addressInUse` when another program listens there.
class ListenFailure : public std::runtime_error {
public:
    ListenFailure(const std::string& what, bool addressInUse)
        : std::runtime_error(what), addressInUse_(addressInUse) {}
    bool addressInUse() const { return addressInUse_; }

private:
    bool addressInUse_;
};

// Whether this process can serve HTTPS: civetweb loads OpenSSL at run time (libssl.so), and
// the civetweb of Debian 12 looks for OpenSSL 1.1 functions that OpenSSL 3 no longer has, so
// there it cannot; a reverse proxy in front then provides it.
bool httpsAvailable();
inline constexpr const char* kHttpsUnavailable =
    "HTTPS is not available: the civetweb library cannot load OpenSSL here (Debian 12's civetweb "
    "is built for OpenSSL 1.1); leave tls_server_config out and let a reverse proxy in front "
    "of velmora serve provide HTTPS";

// Whether something else listens on `listen` (ADDRESS:PORT, an IPv6 address in brackets):
// binding a socket there fails with EADDRINUSE.
bool addressInUse(const std::string& listen);

// Serves http(s)://<listen>/metrics through prometheus-cpp's pull exposer; each scrape calls
// `collect` on one of the exposer's threads.
class MetricsEndpoint {
public:
    using Collect = std::function<std::vector<prometheus::MetricFamily>()>;

    // Throws ListenFailure when it cannot serve there (address in use, not ours, TLS that
    // cannot start...).
    MetricsEndpoint(const std::string& listen, Collect collect, EndpointSecurity security = {});
    ~MetricsEndpoint();
    MetricsEndpoint(const MetricsEndpoint&) = delete;
    MetricsEndpoint& operator=(const MetricsEndpoint&) = delete;

    std::vector<int> ports() const;

private:
    std::shared_ptr<prometheus::Collectable> collectable_;
    std::unique_ptr<prometheus::Exposer> exposer_;
};

} // namespace velmora

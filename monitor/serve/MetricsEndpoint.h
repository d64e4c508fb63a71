#pragma once

#include <functional>
#include <memory>
#include <prometheus/metric_family.h>
#include <string>
#include <vector>

namespace prometheus {
class Exposer;
class Collectable;
} // namespace prometheus

namespace velmora {

// The metrics in Prometheus's text format, as /metrics serves them.
std::string textExposition(const std::vector<prometheus::MetricFamily>& metrics);

// Serves http://<listen>/metrics through prometheus-cpp's pull exposer; each scrape calls
// `collect` on one of the exposer's threads.
class MetricsEndpoint {
public:
    using Collect = std::function<std::vector<prometheus::MetricFamily>()>;

    // Throws std::runtime_error when it cannot listen there (address in use, not ours...).
    MetricsEndpoint(const std::string& listen, Collect collect);
    ~MetricsEndpoint();
    MetricsEndpoint(const MetricsEndpoint&) = delete;
    MetricsEndpoint& operator=(const MetricsEndpoint&) = delete;

    std::vector<int> ports() const;

private:
    std::shared_ptr<prometheus::Collectable> collectable_;
    std::unique_ptr<prometheus::Exposer> exposer_;
};

} // namespace velmora

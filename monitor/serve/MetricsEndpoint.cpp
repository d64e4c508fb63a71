#include "monitor/serve/MetricsEndpoint.h"

#include <prometheus/collectable.h>
#include <prometheus/exposer.h>
#include <prometheus/text_serializer.h>
#include <sstream>

namespace velmora {
namespace {

class CallbackCollectable : public prometheus::Collectable {
public:
    explicit CallbackCollectable(MetricsEndpoint::Collect collect) : collect_(std::move(collect)) {}
    std::vector<prometheus::MetricFamily> Collect() const override { return collect_(); }

private:
    MetricsEndpoint::Collect collect_;
};

} // namespace

std::string textExposition(const std::vector<prometheus::MetricFamily>& metrics) {
    std::ostringstream out;
    prometheus::TextSerializer().Serialize(out, metrics);
    return out.str();
}

MetricsEndpoint::MetricsEndpoint(const std::string& listen, Collect collect)
    : collectable_(std::make_shared<CallbackCollectable>(std::move(collect))),
      exposer_(std::make_unique<prometheus::Exposer>(listen, 2)) {
    exposer_->RegisterCollectable(collectable_);
}

MetricsEndpoint::~MetricsEndpoint() = default;

std::vector<int> MetricsEndpoint::ports() const {
    return exposer_->GetListeningPorts();
}

} // namespace velmora

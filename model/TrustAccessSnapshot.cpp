// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/TrustAccessSnapshot.h"

#include "model/Codec.h"

namespace velmora {

TrustAccessSnapshot decodeRecord(const Json& json, std::type_identity<TrustAccessSnapshot>) {
    const ObjectReader in(json);
    using Lines = std::vector<std::string>;
    return {
        .processScope = in.required<std::string>("processScope"),
        .fileReadScope = in.required<std::string>("fileReadScope"),
        .fileWriteScope = in.required<std::string>("fileWriteScope"),
        .networkScope = in.required<std::string>("networkScope"),
        .doesNotDo = in.required<Lines>("doesNotDo"),
        .dataDir = in.required<std::string>("dataDir"),
        .configPath = in.required<std::string>("configPath"),
        .artifactsDir = in.required<std::string>("artifactsDir"),
        .logsDir = in.required<std::string>("logsDir"),
        .filesReadLastPass = in.required<Lines>("filesReadLastPass"),
        .recentNetworkCalls = in.required<Lines>("recentNetworkCalls"),
    };
}

Json encodeRecord(const TrustAccessSnapshot& value) {
    return ObjectWriter()
        .field("processScope", value.processScope)
        .field("fileReadScope", value.fileReadScope)
        .field("fileWriteScope", value.fileWriteScope)
        .field("networkScope", value.networkScope)
        .field("doesNotDo", value.doesNotDo)
        .field("dataDir", value.dataDir)
        .field("configPath", value.configPath)
        .field("artifactsDir", value.artifactsDir)
        .field("logsDir", value.logsDir)
        .field("filesReadLastPass", value.filesReadLastPass)
        .field("recentNetworkCalls", value.recentNetworkCalls)
        .done();
}

} // namespace velmora

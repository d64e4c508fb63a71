#include "model/DecodeError.h"

namespace velmora {

std::string DecodeError::text() const {
    return path.empty() ? reason : path + ": " + reason;
}

} // namespace velmora

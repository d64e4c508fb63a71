// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/JsonText.h"

#include <string>

namespace velmora {

namespace {

// The DOM builder of nlohmann::json with a nesting limit: it counts open arrays and objects
// and stops the parse once they go deeper than kMaxJsonDepth, so no later recursive walk of
// the value (comparison, dump, destruction) can exhaust the stack.
class DepthLimitedBuilder {
public:
    explicit DepthLimitedBuilder(Json& root) : dom_(root, true) {}

    bool null() { return dom_.null(); }
    bool boolean(bool value) { return dom_.boolean(value); }
    bool number_integer(Json::number_integer_t value) { return dom_.number_integer(value); }
    bool number_unsigned(Json::number_unsigned_t value) { return dom_.number_unsigned(value); }
    bool number_float(Json::number_float_t value, const std::string& text) {
        return dom_.number_float(value, text);
    }
    bool string(std::string& value) { return dom_.string(value); }
    bool binary(Json::binary_t& value) { return dom_.binary(value); }
    bool start_object(std::size_t elements) { return enter() && dom_.start_object(elements); }
    bool key(std::string& value) { return dom_.key(value); }
    bool end_object() { return leave() && dom_.end_object(); }
    bool start_array(std::size_t elements) { return enter() && dom_.start_array(elements); }
    bool end_array() { return leave() && dom_.end_array(); }
    bool parse_error(std::size_t position, const std::string& token,
                     const nlohmann::detail::exception& error) {
        error_ = error.what();
        (void)position;
        (void)token;
        return false;
    }

    bool tooDeep() const { return tooDeep_; }
    const std::string& error() const { return error_; }

private:
    bool enter() {
        if (++depth_ > kMaxJsonDepth) {
            tooDeep_ = true;
            return false;
        }
        return true;
    }
    bool leave() {
        --depth_;
        return true;
    }

    nlohmann::detail::json_sax_dom_parser<Json> dom_;
    std::size_t depth_ = 0;
    bool tooDeep_ = false;
    std::string error_;
};

// "[json.exception.parse_error.101] parse error at ..." without the bracketed tag, and with
// every byte outside printable ASCII shown as '?', so a message never carries invalid UTF-8.
std::string cleanParseMessage(std::string message) {
    if (!message.empty() && message.front() == '[') {
        if (const auto end = message.find("] "); end != std::string::npos) {
            message.erase(0, end + 2);
        }
    }
    for (char& c : message) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7f) {
            c = '?';
        }
    }
    return message;
}

} // namespace

Decoded<Json> parseJsonText(std::string_view text) {
    Json root;
    DepthLimitedBuilder builder(root);
    bool ok = false;
    try {
        ok = Json::sax_parse(text.begin(), text.end(), &builder);
    } catch (const Json::exception& error) {
        // Numbers beyond double range (1e400) surface as out_of_range from the lexer.
        return DecodeError{"", "invalid JSON: " + cleanParseMessage(error.what())};
    }
    if (builder.tooDeep()) {
        return DecodeError{"", "invalid JSON: nesting deeper than " +
                                   std::to_string(kMaxJsonDepth) + " levels"};
    }
    if (!ok) {
        return DecodeError{"", "invalid JSON: " + cleanParseMessage(builder.error())};
    }
    return root;
}

std::string dumpJsonText(const Json& json) {
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace velmora

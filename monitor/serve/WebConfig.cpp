// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/serve/WebConfig.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <optional>
#include <unistd.h>
#include <vector>

namespace velmora {
namespace {

constexpr std::size_t kMaxFileBytes = 1 << 20;

// One "key: value" or "key:" line of the file.
struct Entry {
    int line = 0;
    std::size_t indent = 0;
    std::string key;
    std::optional<std::string> value; // none: a mapping follows on the lines below
};

// A mapping of the file: its entries, each with the entries below it.
struct Node {
    Entry entry;
    std::vector<Node> children;
};

class Parser {
public:
    Parser(std::string path) : path_(std::move(path)) {}

    std::string error() const { return error_; }

    std::vector<Node> parse(std::string_view text) {
        std::vector<Entry> entries;
        int number = 0;
        for (std::size_t start = 0; start < text.size() && error_.empty();) {
            std::size_t end = text.find('\n', start);
            std::string_view line = text.substr(
                start, end == std::string_view::npos ? text.size() - start : end - start);
            start = end == std::string_view::npos ? text.size() : end + 1;
            ++number;
            if (auto entry = entryOf(line, number)) {
                entries.push_back(std::move(*entry));
            }
        }
        std::vector<Node> nodes;
        std::size_t next = 0;
        if (error_.empty()) {
            nodes = block(entries, next, 0, 0);
        }
        return nodes;
    }

    bool fail(int line, const std::string& problem) {
        if (error_.empty()) {
            error_ = path_ + ":" + std::to_string(line) + ": " + problem;
        }
        return false;
    }

private:
    static std::string_view trimmed(std::string_view text) {
        while (!text.empty() && (text.front() == ' ' || text.front() == '\r')) {
            text.remove_prefix(1);
        }
        while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) {
            text.remove_suffix(1);
        }
        return text;
    }

    // A quoted scalar at the start of `text`; `rest` is what follows its closing quote.
    std::optional<std::string> quoted(std::string_view text, std::string_view& rest, int line) {
        const char quote = text.front();
        std::string value;
        for (std::size_t i = 1; i < text.size(); ++i) {
            char c = text[i];
            if (c == quote && quote == '\'' && i + 1 < text.size() && text[i + 1] == '\'') {
                value.push_back('\'');
                ++i;
            } else if (c == quote) {
                rest = text.substr(i + 1);
                return value;
            } else if (c == '\\' && quote == '"') {
                if (i + 1 >= text.size() || (text[i + 1] != '"' && text[i + 1] != '\\')) {
                    fail(line, "only \\\" and \\\\ escapes are supported in quoted values");
                    return std::nullopt;
                }
                value.push_back(text[++i]);
            } else {
                value.push_back(c);
            }
        }
        fail(line, "a quoted value is not closed on its line");
        return std::nullopt;
    }

    // A key or a value: quoted, or plain up to a comment.
    std::optional<std::string> scalar(std::string_view text, int line) {
        text = trimmed(text);
        if (!text.empty() && (text.front() == '"' || text.front() == '\'')) {
            std::string_view rest;
            auto value = quoted(text, rest, line);
            rest = trimmed(rest);
            if (value && !rest.empty() && rest.front() != '#') {
                fail(line, "unexpected text after a quoted value");
                return std::nullopt;
            }
            return value;
        }
        if (!text.empty() &&
            std::string_view("[{&*!|>%@`-?").find(text.front()) != std::string_view::npos) {
            fail(line, "only plain or quoted values are supported, not '" + std::string(text) +
                           "' (lists, inline mappings, anchors, tags and blocks are not)");
            return std::nullopt;
        }
        if (std::size_t comment = text.find(" #"); comment != std::string_view::npos) {
            text = trimmed(text.substr(0, comment));
        }
        return std::string(text);
    }

    std::optional<Entry> entryOf(std::string_view line, int number) {
        std::size_t indent = line.find_first_not_of(' ');
        if (indent == std::string_view::npos || line[indent] == '#' || trimmed(line).empty() ||
            (indent == 0 && trimmed(line) == "---")) {
            return std::nullopt;
        }
        if (line[indent] == '\t') {
            fail(number, "tabs cannot indent YAML; use spaces");
            return std::nullopt;
        }
        std::string_view body = line.substr(indent);
        std::size_t colon = std::string_view::npos;
        if (body.front() == '"' || body.front() == '\'') {
            std::string_view rest;
            if (!quoted(body, rest, number)) {
                return std::nullopt;
            }
            colon = rest.empty() || rest.front() != ':' ? std::string_view::npos
                                                        : body.size() - rest.size();
        } else {
            for (std::size_t i = body.find(':'); i != std::string_view::npos;
                 i = body.find(':', i + 1)) {
                if (i + 1 == body.size() || body[i + 1] == ' ' || body[i + 1] == '\r') {
                    colon = i;
                    break;
                }
            }
        }
        if (colon == std::string_view::npos) {
            fail(number, "expected 'key: value', not '" + std::string(trimmed(body)) + "'");
            return std::nullopt;
        }
        Entry entry;
        entry.line = number;
        entry.indent = indent;
        auto key = scalar(body.substr(0, colon), number);
        if (!key) {
            return std::nullopt;
        }
        entry.key = *key;
        std::string_view rest = trimmed(body.substr(colon + 1));
        if (!rest.empty() && rest.front() != '#') {
            if (rest == "{}") {
                return entry; // an empty mapping
            }
            auto value = scalar(rest, number);
            if (!value) {
                return std::nullopt;
            }
            entry.value = *value;
        }
        return entry;
    }

    // The entries from `next` on at exactly `indent`, each with its own block below it.
    std::vector<Node> block(const std::vector<Entry>& entries, std::size_t& next,
                            std::size_t indent, int depth) {
        std::vector<Node> nodes;
        while (next < entries.size() && error_.empty() && entries[next].indent >= indent) {
            const Entry& entry = entries[next];
            if (entry.indent != indent) {
                fail(entry.line, "this line is indented differently from the key before it");
                break;
            }
            Node node{entry, {}};
            ++next;
            if (next < entries.size() && entries[next].indent > indent) {
                if (entry.value) {
                    fail(entries[next].line, "'" + entry.key + "' has a value already");
                    break;
                }
                if (depth >= 1) {
                    fail(entries[next].line, "'" + entry.key + "' cannot hold a mapping here");
                    break;
                }
                node.children = block(entries, next, entries[next].indent, depth + 1);
            }
            nodes.push_back(std::move(node));
        }
        return nodes;
    }

    std::string path_;
    std::string error_;
};

bool isBcryptHash(const std::string& hash) {
    // "$2b$10$" then 53 characters of salt and hash.
    return hash.size() == 60 && hash[0] == '$' && hash[1] == '2' &&
           (hash[2] == 'a' || hash[2] == 'b' || hash[2] == 'y') && hash[3] == '$' &&
           std::isdigit(static_cast<unsigned char>(hash[4])) &&
           std::isdigit(static_cast<unsigned char>(hash[5])) && hash[6] == '$';
}

std::string underFolder(const std::string& folder, const std::string& file) {
    return file.empty() || file.front() == '/' || folder.empty() ? file : folder + "/" + file;
}

bool readUsers(Parser& parser, const Node& node, WebConfig& config) {
    if (node.entry.value && !node.entry.value->empty()) {
        return parser.fail(node.entry.line, "basic_auth_users needs one 'user: bcrypt hash' "
                                            "line per user below it");
    }
    for (const Node& user : node.children) {
        const Entry& e = user.entry;
        if (!e.value || !isBcryptHash(*e.value)) {
            return parser.fail(e.line, "the password of '" + e.key +
                                           "' must be a bcrypt hash ($2y$..., as htpasswd -nBC "
                                           "10 " +
                                           e.key + " makes it)");
        }
        if (!config.basicAuthUsers.emplace(e.key, *e.value).second) {
            return parser.fail(e.line, "'" + e.key + "' is listed twice");
        }
    }
    return true;
}

bool readTls(Parser& parser, const Node& node, const std::string& folder, WebConfig& config) {
    for (const Node& setting : node.children) {
        const Entry& e = setting.entry;
        std::string* target = e.key == "cert_file"  ? &config.certFile
                              : e.key == "key_file" ? &config.keyFile
                                                    : nullptr;
        if (target == nullptr) {
            return parser.fail(e.line, "tls_server_config." + e.key +
                                           " is not supported (velmora serve reads cert_file "
                                           "and key_file)");
        }
        if (!e.value || e.value->empty()) {
            return parser.fail(e.line, "tls_server_config." + e.key + " needs a file");
        }
        *target = underFolder(folder, *e.value);
    }
    if (config.certFile.empty() != config.keyFile.empty()) {
        return parser.fail(node.entry.line, "tls_server_config needs both cert_file and key_file");
    }
    return true;
}

} // namespace

WebConfigReading parseWebConfig(std::string_view text, const std::string& path,
                                const std::string& folder) {
    WebConfigReading reading;
    Parser parser(path);
    std::vector<Node> top = parser.parse(text);
    for (const Node& node : top) {
        if (!parser.error().empty()) {
            break;
        }
        const std::string& key = node.entry.key;
        if (key == "basic_auth_users") {
            readUsers(parser, node, reading.config);
        } else if (key == "tls_server_config") {
            readTls(parser, node, folder, reading.config);
        } else {
            parser.fail(node.entry.line, key + " is not supported (velmora serve reads "
                                               "basic_auth_users and tls_server_config)");
        }
    }
    reading.error = parser.error();
    return reading;
}

WebConfigReading readWebConfig(const std::string& path) {
    WebConfigReading reading;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        reading.error = path + ": cannot be read";
        return reading;
    }
    std::string text;
    text.resize(kMaxFileBytes + 1);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxFileBytes) {
        reading.error = path + ": larger than 1 MiB, not a web configuration";
        return reading;
    }
    std::size_t slash = path.rfind('/');
    std::string folder =
        slash == std::string::npos ? "." : path.substr(0, std::max<std::size_t>(slash, 1));
    reading = parseWebConfig(text, path, folder);
    if (reading.error.empty() && reading.config.tls()) {
        for (const std::string* file : {&reading.config.certFile, &reading.config.keyFile}) {
            if (::access(file->c_str(), R_OK) != 0) {
                reading.error = path + ": " + *file + " cannot be read";
                break;
            }
        }
    }
    return reading;
}

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace velmora {

// What the web configuration file of "velmora serve" asks for. It follows the file the
// Prometheus exporters read with --web.config.file, of which it reads a part:
//
//   tls_server_config:
//     cert_file: server.crt      # relative paths are taken from the file's folder
//     key_file: server.key
//   basic_auth_users:
//     prometheus: $2y$10$...     # bcrypt hashes, as "htpasswd -nBC 10" makes them
//
// Every other key (client certificates, TLS versions and ciphers, http_server_config) is
// refused by name rather than ignored, so that nobody believes a setting holds that does not.
struct WebConfig {
    std::map<std::string, std::string> basicAuthUsers; // user name -> bcrypt hash
    std::string certFile;                              // both set, or neither
    std::string keyFile;

    bool tls() const { return !certFile.empty(); }
};

struct WebConfigReading {
    WebConfig config;
    std::string error; // "<path>:<line>: what is wrong"; empty when the file is sound
};

// The file at `path`, checked: its YAML within the part described above, every user's hash a
// bcrypt hash, the certificate and the key readable.
WebConfigReading readWebConfig(const std::string& path);

// The same from the file's text; `folder` is where relative paths start, `path` names the
// file in errors.
WebConfigReading parseWebConfig(std::string_view text, const std::string& path,
                                const std::string& folder);

} // namespace velmora

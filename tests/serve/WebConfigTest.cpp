// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/serve/WebConfig.h"

#include "monitor/serve/BasicAuth.h"
#include "monitor/serve/FamilyExport.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// "secret" at bcrypt cost 4.
const std::string kSecretHash = "$2b$04$wvFOlb4dN2JylYMRXNvlbOK8J1pi2jc5xxMLC/BC5f7t4CMRN9ysy";

WebConfigReading parse(const std::string& text) {
    return parseWebConfig(text, "/etc/velmora/web.yml", "/etc/velmora");
}

TEST(WebConfig, ReadsTheUsersAndTheCertificateAsTheExportersWriteThem) {
    WebConfigReading reading = parse("---\n"
                                     "# scraped by the central server\n"
                                     "tls_server_config:\n"
                                     "  cert_file: server.crt\n"
                                     "  key_file: \"/etc/ssl/private/velmora key.pem\"\n"
                                     "\n"
                                     "basic_auth_users:\n"
                                     "    prometheus: " +
                                     kSecretHash +
                                     "   # htpasswd -nBC 4\n"
                                     "    'grafana agent': '" +
                                     kSecretHash + "'\n");
    ASSERT_EQ(reading.error, "");
    const WebConfig& config = reading.config;
    EXPECT_EQ(config.certFile, "/etc/velmora/server.crt") << "relative to the file's folder";
    EXPECT_EQ(config.keyFile, "/etc/ssl/private/velmora key.pem");
    EXPECT_TRUE(config.tls());
    EXPECT_EQ(config.basicAuthUsers,
              (std::map<std::string, std::string>{{"prometheus", kSecretHash},
                                                  {"grafana agent", kSecretHash}}));

    WebConfigReading empty = parse("basic_auth_users: {}\n");
    EXPECT_EQ(empty.error, "");
    EXPECT_TRUE(empty.config.basicAuthUsers.empty());
    EXPECT_FALSE(empty.config.tls());
}

TEST(WebConfig, WhatItDoesNotSupportIsRefusedByNameAndLine) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"http_server_config:\n  http2: false\n",
         ":1: http_server_config is not supported (velmora serve reads basic_auth_users and "
         "tls_server_config)"},
        {"tls_server_config:\n  cert_file: a.crt\n  key_file: a.key\n  client_ca_file: ca.crt\n",
         ":4: tls_server_config.client_ca_file is not supported (velmora serve reads cert_file "
         "and key_file)"},
        {"tls_server_config:\n  cert_file: a.crt\n",
         ":1: tls_server_config needs both cert_file and key_file"},
        {"basic_auth_users:\n  alice: secret\n",
         ":2: the password of 'alice' must be a bcrypt hash ($2y$..., as htpasswd -nBC 10 alice "
         "makes it)"},
        {"basic_auth_users:\n  alice: " + kSecretHash + "\n  alice: " + kSecretHash + "\n",
         ":3: 'alice' is listed twice"},
        {"basic_auth_users: [alice]\n",
         ":1: only plain or quoted values are supported, not '[alice]' (lists, inline mappings, "
         "anchors, tags and blocks are not)"},
        {"basic_auth_users:\n\talice: x\n", ":2: tabs cannot indent YAML; use spaces"},
        {"basic_auth_users:\n  alice: \"" + kSecretHash + "\n",
         ":2: a quoted value is not closed on its line"},
        {"basic_auth_users:\n  alice:\n    nested: x\n", ":3: 'alice' cannot hold a mapping here"},
        {"basic_auth_users:\n    a: " + kSecretHash + "\n  b: " + kSecretHash + "\n",
         ":3: this line is indented differently from the key before it"},
        {"just text\n", ":1: expected 'key: value', not 'just text'"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(parse(text).error, "/etc/velmora/web.yml" + expected) << text;
    }
    EXPECT_EQ(readWebConfig("/nonexistent/web.yml").error, "/nonexistent/web.yml: cannot be read");
}

TEST(BasicAuth, OnlyTheRightPasswordOfAListedUserPassesEveryTime) {
    EXPECT_TRUE(bcryptMatches("secret", kSecretHash));
    EXPECT_FALSE(bcryptMatches("Secret", kSecretHash));
    // htpasswd writes $2y$, other tools $2a$: the same hash under each prefix.
    EXPECT_TRUE(bcryptMatches("secret", "$2y$" + kSecretHash.substr(4)));
    EXPECT_TRUE(bcryptMatches("secret", "$2a$" + kSecretHash.substr(4)));
    EXPECT_FALSE(bcryptMatches("secret", "")) << "an empty hash is no password";
    EXPECT_FALSE(bcryptMatches("secret", "ab01FQ1G6GEDs")) << "DES hashes are refused";

    BasicAuth auth({{"prometheus", kSecretHash}});
    EXPECT_FALSE(auth.allows("prometheus", "guess"));
    EXPECT_TRUE(auth.allows("prometheus", "secret"));
    EXPECT_TRUE(auth.allows("prometheus", "secret")) << "remembered";
    EXPECT_FALSE(auth.allows("prometheus", "secret2"));
    EXPECT_FALSE(auth.allows("prometheus", ""));
    EXPECT_FALSE(auth.allows("grafana", "secret"));
}

TEST(FamilyExport, OtherUsersHomeFoldersStayOutOfTheLabels) {
    EXPECT_EQ(withoutHome("workspace:python3:/home/alice/shop", "/home/alice"),
              "workspace:python3:~/shop");
    EXPECT_EQ(withoutHome("workspace:node:/home/alice", "/home/alice/"), "workspace:node:~");
    EXPECT_EQ(withoutHome("workspace:node:/home/alicebob/x", "/home/alice"),
              "workspace:node:/home/alicebob/x");
    EXPECT_EQ(withoutHome("workspace:go:/srv/api", "/home/alice"), "workspace:go:/srv/api");
    EXPECT_EQ(withoutHome("workspace:go:/x", "/"), "workspace:go:/x")
        << "a home of / hides nothing";

    FamilyExportOptions options;
    options.userLabel = true;
    options.userName = [](uid_t uid) { return std::to_string(uid); };
    options.hiddenHome = [](uid_t uid) { return uid == 1001 ? "/home/alice" : ""; };
    FamilyExport exporter(options);
    LiveView view;
    view.monotonicTime = 1;
    RankedFamily family;
    family.key = "user:1001:workspace:python3:/home/alice/shop";
    family.title = "python3";
    view.ranked = {family};
    exporter.update(view);
    std::string text;
    for (const auto& metric : *exporter.metrics()) {
        for (const auto& sample : metric.metric) {
            for (const auto& label : sample.label) {
                text += label.value + "\n";
            }
        }
    }
    EXPECT_EQ(text.find("/home/alice"), std::string::npos) << text;
    EXPECT_NE(text.find("workspace:python3:~/shop"), std::string::npos) << text;
}

} // namespace
} // namespace velmora

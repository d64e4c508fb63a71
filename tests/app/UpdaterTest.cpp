#include "app/UpdaterController.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace velmora;

namespace {

struct TemporaryDirectory {
    std::filesystem::path path;
    TemporaryDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora-upd-XXXXXX");
        path = ::mkdtemp(pattern.data());
    }
    ~TemporaryDirectory() { std::filesystem::remove_all(path); }
};

// An install prefix with resources, an optional backend and an Info.json.
struct Prefix {
    TemporaryDirectory root;
    std::filesystem::path resources = root.path / "share" / "velmora";
    std::filesystem::path executable = root.path / "bin" / "velmora-ui";

    explicit Prefix(const std::string& info, bool withBackend = true) {
        std::filesystem::create_directories(resources / "Backend");
        std::filesystem::create_directories(executable.parent_path());
        std::ofstream(resources / "Info.json") << info;
        if (withBackend) {
            const auto backend = resources / "Backend" / "velmora";
            std::ofstream(backend) << "#!/bin/sh\n";
            ::chmod(backend.c_str(), 0755);
        }
    }
    UpdaterRuntime runtime(Environment environment = {}) const {
        return {InfoDictionary::load(resources), resources, executable, std::move(environment)};
    }
};

const std::string feedInfo = R"({"CFBundleShortVersionString":"1.4.2","CFBundleVersion":"77",
    "SUFeedURL":"https://example.invalid/appcast.xml",
    "SUPublicEDKey":"  abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGH\n"})";

class FakeUpdater final : public UpdateFramework {
public:
    bool checks = false;
    bool downloads = false;
    int checkRequests = 0;
    std::optional<UpdateCheckDate> lastCheck;
    void setAutomaticallyChecksForUpdates(bool enabled) override { checks = enabled; }
    void setAutomaticallyDownloadsUpdates(bool enabled) override { downloads = enabled; }
    std::optional<UpdateCheckDate> lastUpdateCheckDate() const override { return lastCheck; }
    void checkForUpdates() override { ++checkRequests; }
};

struct Harness {
    std::shared_ptr<MemoryKeyValueStore> defaults = std::make_shared<MemoryKeyValueStore>();
    FakeUpdater* updater = nullptr;
    std::weak_ptr<UpdateFrameworkDelegate> delegate;

    std::shared_ptr<UpdaterController> create(const UpdaterRuntime& runtime) {
        return UpdaterController::create(runtime, UpdaterPreferences(defaults),
                                         [this](std::weak_ptr<UpdateFrameworkDelegate> d) {
                                             auto fake = std::make_unique<FakeUpdater>();
                                             updater = fake.get();
                                             delegate = d;
                                             return fake;
                                         });
    }
};

} // namespace

TEST(UpdaterPreferences, LoadsDefaultsAndForcesDownloadsOffWithoutChecks) {
    auto defaults = std::make_shared<MemoryKeyValueStore>();
    UpdaterPreferences preferences(defaults);
    EXPECT_EQ(preferences.load(), UpdaterSettings{});

    defaults->setValue(UpdaterPreferences::checksKey, false);
    defaults->setValue(UpdaterPreferences::downloadsKey, true);
    defaults->setValue(UpdaterPreferences::channelKey, std::string("nightly"));
    const auto loaded = preferences.load();
    EXPECT_FALSE(loaded.automaticChecksEnabled);
    EXPECT_FALSE(loaded.automaticDownloadsEnabled);
    EXPECT_EQ(loaded.channel, UpdaterChannel::stable);

    // An INI file hands booleans back as text.
    defaults->setValue(UpdaterPreferences::checksKey, std::string("true"));
    defaults->setValue(UpdaterPreferences::downloadsKey, std::string("true"));
    EXPECT_TRUE(preferences.load().automaticDownloadsEnabled);

    preferences.save({UpdaterChannel::stable, false, true});
    EXPECT_EQ(defaults->value(UpdaterPreferences::downloadsKey), StoredValue(false));
    EXPECT_EQ(defaults->value(UpdaterPreferences::channelKey), StoredValue(std::string("stable")));
}

TEST(UpdaterPreferences, TogglesKeepTheInvariant) {
    const UpdaterSettings on{UpdaterChannel::stable, true, true};
    EXPECT_FALSE(on.withAutomaticChecks(false).automaticDownloadsEnabled);
    EXPECT_FALSE(on.withAutomaticChecks(false).withAutomaticChecks(true).automaticDownloadsEnabled);
    const UpdaterSettings checksOff{UpdaterChannel::stable, false, false};
    EXPECT_FALSE(checksOff.withAutomaticDownloads(true).automaticDownloadsEnabled);
}

TEST(UpdaterEligibility, NeedsFeedKeysBackendAndAnInstalledPrefixOrTheDevSwitch) {
    Prefix installed(feedInfo);
    EXPECT_TRUE(installed.runtime().isUpdaterEligible());

    Prefix noKeys(R"({"SUFeedURL":"https://example.invalid"})");
    EXPECT_FALSE(noKeys.runtime({{"VELMORA_ENABLE_UPDATER_IN_DEV", "1"}}).isUpdaterEligible());
    Prefix noBackend(feedInfo, false);
    EXPECT_FALSE(noBackend.runtime({{"VELMORA_ENABLE_UPDATER_IN_DEV", "1"}}).isUpdaterEligible());

    Prefix buildTree(feedInfo);
    std::ofstream(buildTree.root.path / "CMakeCache.txt") << "# build tree\n";
    EXPECT_FALSE(buildTree.runtime().isUpdaterEligible());
    EXPECT_FALSE(
        buildTree.runtime({{"VELMORA_ENABLE_UPDATER_IN_DEV", "true"}}).isUpdaterEligible());
    EXPECT_TRUE(buildTree.runtime({{"VELMORA_ENABLE_UPDATER_IN_DEV", "1"}}).isUpdaterEligible());
}

TEST(UpdaterController, ABuildTreeHasNoUpdater) {
    Prefix buildTree(feedInfo);
    std::ofstream(buildTree.root.path / "CMakeCache.txt") << "# build tree\n";
    Harness harness;
    const auto controller = harness.create(buildTree.runtime());
    EXPECT_FALSE(controller->isEnabled());
    EXPECT_EQ(harness.updater, nullptr);
    EXPECT_EQ(controller->updateIntegrity(), UpdateIntegrityStatus(UpdateIntegrityNeverChecked{}));
    EXPECT_EQ(controller->versionSummary().menuTitle(), "Version 1.4.2 (77)");
    controller->checkForUpdates(); // nothing to ask, nothing happens
}

TEST(UpdaterController, WithoutAnUpdateFrameworkUpdatingIsUnavailable) {
    Prefix installed(feedInfo);
    const auto controller = UpdaterController::create(
        installed.runtime(), UpdaterPreferences(std::make_shared<MemoryKeyValueStore>()), nullptr);
    EXPECT_FALSE(controller->isEnabled());
    EXPECT_FALSE(controller->trustedUpdateKeyFingerprint());
}

TEST(UpdaterController, StartsTheUpdaterAndTracksIntegrity) {
    Prefix installed(feedInfo);
    Harness harness;
    harness.defaults->setValue(UpdaterPreferences::downloadsKey, true);
    const auto controller = harness.create(installed.runtime());
    ASSERT_TRUE(controller->isEnabled());
    ASSERT_NE(harness.updater, nullptr);
    EXPECT_TRUE(harness.updater->checks);
    EXPECT_TRUE(harness.updater->downloads);
    EXPECT_EQ(controller->trustedUpdateKeyFingerprint(), "abcdefgh\u2026ABCDEFGH");

    const auto checked = std::chrono::system_clock::time_point(std::chrono::seconds(1700000000));
    harness.updater->lastCheck = checked;
    auto delegate = harness.delegate.lock();
    delegate->didFinishLoading(1);
    EXPECT_EQ(controller->updateIntegrity(),
              UpdateIntegrityStatus(UpdateIntegrityVerified{"abcdefgh\u2026ABCDEFGH", checked}));
    delegate->didFindValidUpdate();
    delegate->didAbortWithError();
    EXPECT_EQ(controller->updateIntegrity(),
              UpdateIntegrityStatus(UpdateIntegrityValidationFailed{checked}));
    delegate->didAbortWithError(); // stays failed
    delegate->didFinishLoading(9);
    EXPECT_EQ(controller->updateIntegrity(), UpdateIntegrityStatus(UpdateIntegrityNeverChecked{}));
    delegate->didAbortWithError(); // never checked stays unchanged
    EXPECT_EQ(controller->updateIntegrity(), UpdateIntegrityStatus(UpdateIntegrityNeverChecked{}));

    controller->save(controller->settings().withAutomaticChecks(false));
    EXPECT_FALSE(harness.updater->checks);
    EXPECT_FALSE(harness.updater->downloads);
    EXPECT_EQ(harness.defaults->value(UpdaterPreferences::checksKey), StoredValue(false));
    controller->checkForUpdates();
    EXPECT_EQ(harness.updater->checkRequests, 1);
}

TEST(UpdaterController, SkippedValidationWithoutAKeyReadsSkipped) {
    // A controller built by hand has no key: the fallbacks name the validation outcome.
    UpdaterController bare{UpdaterPreferences(std::make_shared<MemoryKeyValueStore>())};
    bare.didFinishLoading(0);
    EXPECT_EQ(bare.updateIntegrity(),
              UpdateIntegrityStatus(UpdateIntegrityVerified{"skipped", {}}));
    bare.didFinishLoading(1);
    EXPECT_EQ(bare.updateIntegrity(),
              UpdateIntegrityStatus(UpdateIntegrityVerified{"unknown", {}}));
    bare.didFinishLoading(2);
    EXPECT_EQ(bare.updateIntegrity(), UpdateIntegrityStatus(UpdateIntegrityValidationFailed{}));
}

TEST(UpdaterText, FingerprintsAndIntegrityLines) {
    EXPECT_EQ(shortFingerprint("0123456789abcdef"), "0123456789abcdef");
    EXPECT_EQ(shortFingerprint(" \n0123456789abcdefg\t"), "01234567\u20269abcdefg");
    EXPECT_EQ(shortFingerprint(std::string(44, 'k')), "kkkkkkkk\u2026kkkkkkkk");
    EXPECT_EQ(shortFingerprint(""), "");

    const auto date = [](UpdateCheckDate) { return std::string("6/12/26, 21:00"); };
    EXPECT_EQ(updateIntegrityText(UpdateIntegrityNeverChecked{}, date), "Not yet checked");
    EXPECT_EQ(updateIntegrityText(UpdateIntegrityVerified{"k", std::nullopt}, date),
              "Verified \u2022 last checked never");
    EXPECT_EQ(updateIntegrityText(UpdateIntegrityValidationFailed{UpdateCheckDate{}}, date),
              "Validation failed \u2022 last checked 6/12/26, 21:00");
}

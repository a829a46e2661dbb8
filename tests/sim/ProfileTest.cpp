// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "TempFolder.h"
#include "sim/DefaultProfile.h"
#include "sim/Profile.h"

namespace vantrel::sim {
namespace {

std::string Hex(char digit) { return std::string(512, digit); }

std::string Minimal(const std::string& memory, const std::string& extra = "") {
    return R"({"family": 4, "model": 10, "firmwareVersion": 1, "firmwareRelease": 0, "memory": ")" + memory + "\"" +
           extra + "}";
}

TEST(Profile, ReadsIdentityMemoryInputAndFaultsAndIgnoresUnknownKeys) {
    const std::string text = Minimal(
        "0A" + Hex('f').substr(2),
        R"(, "comment": ["anything", {"nested": null}], "input": {"quantity": "millivolts", "value": -1.5e1},
           "faults": {"noReply": true, "reportedFamily": 2, "silentAfterFrames": 5})");
    const ProfileResult r = ParseProfile(text);
    ASSERT_TRUE(r.profile) << r.error;
    const Profile& p = *r.profile;
    EXPECT_EQ(std::tuple(p.identity.family, p.identity.model, p.identity.firmwareVersion), std::tuple(4, 10, 1));
    EXPECT_EQ(std::tuple(p.memory.read(0), p.memory.read(255)), std::tuple(0x0A, 0xFF));
    EXPECT_EQ(std::tuple(p.input.quantity, p.input.value), std::tuple(Quantity::Millivolts, -15.0));
    EXPECT_EQ(std::tuple(p.faults.noReply, p.faults.reportedFamily, p.faults.silentAfterFrames), std::tuple(true, 2, 5));
}

TEST(Profile, MalformedProfilesAreRefusedWithAReason) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "not valid JSON"},
        {"[1, 2]", "must be a JSON object"},
        {Minimal(Hex('0')) + "x", "not valid JSON"},
        {Minimal(Hex('0').substr(1)), "512 hexadecimal"},
        {Minimal(Hex('0').substr(2) + "0g"), "cell 255"},
        {R"({"model": 10, "memory": ")" + Hex('0') + "\"}", "missing \"family\""},
        {R"({"family": 4, "model": 10})", "missing \"memory\""},
        {R"({"family": 400, "model": 10, "memory": ")" + Hex('0') + "\"}", "0 to 255"},
        {R"({"family": "4", "model": 10, "memory": ")" + Hex('0') + "\"}", "0 to 255"},
        {R"({"family": 4.5, "model": 10, "memory": ")" + Hex('0') + "\"}", "0 to 255"},
        {Minimal(Hex('0'), R"(, "input": {"quantity": "kelvin"})"), "quantity"},
        {Minimal(Hex('0'), R"(, "faults": {"noReply": 1})"), "true or false"},
        {std::string(10000, '['), "not valid JSON"},
        {R"({"family": 4, "model": 10, "memory": "\u00)", "not valid JSON"},
        {R"({"family": 1e999, "model": 10})", "number out of range"},
        {Minimal(Hex('0'), R"(, "input": {"value": -1e400})"), "number out of range"},
        {Minimal(Hex('0'), R"(, "input": {"driftPeriod": 0})"), "driftPeriod"},
    };
    for (const auto& [text, reason] : cases) {
        const ProfileResult r = ParseProfile(text);
        EXPECT_FALSE(r.profile) << text.substr(0, 60);
        EXPECT_NE(r.error.find(reason), std::string::npos) << r.error;
    }
}

TEST(Profile, WrittenProfileReadsBackTheSame) {
    Profile profile = MakeDefaultProfile();
    profile.input = {Quantity::Ohms, 500.75, 21.5, 3.5, 60, 0.25};
    const std::string json = ProfileJson(profile);
    EXPECT_NE(json.find("\"value\": 500.75, \"coldJunction\": 21.5, \"drift\": 3.5, \"driftPeriod\": 60, \"noise\": 0.25}"),
              std::string::npos) << json;
    const ProfileResult r = ParseProfile(json);
    ASSERT_TRUE(r.profile) << r.error;
    EXPECT_EQ(ProfileJson(*r.profile), json);
}

TEST(Profile, SaveReplacesTheFileWholeAndLoadNamesTheFileAndTheReason) {
    const TempFolder folder;
    const std::filesystem::path& dir = folder.path();
    const std::string path = (dir / "out.json").string();
    EXPECT_EQ(SaveProfile(path, MakeDefaultProfile()), "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);
    EXPECT_TRUE(LoadProfile(path).profile);
    EXPECT_NE(SaveProfile((dir / "no/such/dir/out.json").string(), MakeDefaultProfile()).find("no/such/dir"),
              std::string::npos);

    // Folders and pipes are refused by the shared file reader (tests/files); here the profile's
    // own size limit, and the file named in every message.
    std::ofstream(dir / "huge.json") << std::string((1 << 20) + 1, ' ');
    for (const auto& [name, reason] : {std::pair{"missing.json", "does not exist"}, {"huge.json", "too large"}}) {
        const ProfileResult loaded = LoadProfile((dir / name).string());
        EXPECT_FALSE(loaded.profile) << name;
        EXPECT_NE(loaded.error.find((dir / name).string()), std::string::npos) << loaded.error;
        EXPECT_NE(loaded.error.find(reason), std::string::npos) << loaded.error;
    }
}

// The shipped default profile must stay what programming writes for its configuration.
TEST(Profile, ShippedDefaultProfileEqualsTheProgrammingPlan) {
    const ProfileResult shipped = LoadProfile(VANTREL_SOURCE_DIR "/src/sim/profiles/default.json");
    ASSERT_TRUE(shipped.profile) << shipped.error;
    const Profile expected = MakeDefaultProfile();
    EXPECT_EQ(shipped.profile->identity.family, 4);
    EXPECT_EQ(shipped.profile->identity.model, 10);
    EXPECT_EQ(ToHex(shipped.profile->memory.cells()), ToHex(expected.memory.cells()))
        << "regenerate with: vantrel-sim --write-default-profile src/sim/profiles/default.json";

    // And every byte the plan sends is in it.
    const device::ProgramPlan plan = device::MakeProgramPlan(DefaultProgramForm(), DefaultWorkingState(),
                                                             ReadBeforeProgramming(FactoryMemory()), [] { return true; });
    ASSERT_EQ(plan.status, device::PlanStatus::Done);
    EXPECT_EQ(plan.SegmentCount, 26);
    for (const device::WriteEntry& w : plan.sent) EXPECT_EQ(shipped.profile->memory.read(w.address), w.value) << int(w.address);
}

}  // namespace
}  // namespace vantrel::sim

// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line conventions of vantrel-cli: --help and --version, usage errors refused
// with exit 2 and a one-line hint, the language of the messages chosen from the user's locale.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <regex>

#include "CliRun.h"
#include "TempFolder.h"
#include "cli/Cli.h"
#include "sim/DefaultProfile.h"
#include "sim/Profile.h"

namespace {

using vantrel::test::CliRun;
using vantrel::test::RunCli;
using vantrel::test::kExample;
using namespace vantrel;

// Sets the locale variables for one scope (an empty optional unsets one), then puts back
// what was there.
class LocaleEnvironment {
public:
    LocaleEnvironment(std::optional<std::string> all, std::optional<std::string> messages, std::optional<std::string> lang) {
        Set("LC_ALL", all);
        Set("LC_MESSAGES", messages);
        Set("LANG", lang);
    }
    ~LocaleEnvironment() {
        for (const auto& [name, value] : m_saved) Put(name, value);
    }

private:
    void Set(const std::string& name, const std::optional<std::string>& value) {
        const char* old = std::getenv(name.c_str());
        m_saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        Put(name, value);
    }
    static void Put(const std::string& name, const std::optional<std::string>& value) {
        if (value) ::setenv(name.c_str(), value->c_str(), 1);
        else ::unsetenv(name.c_str());
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

struct CommandLine : ::testing::Test {
    TempFolder folder;
    std::string Profile() { return test::WriteProfile(folder / "default.json"); }
};

TEST_F(CommandLine, HelpVersionAndUsageErrors) {
    const std::string profile = Profile();
    const std::string hint = "; try 'vantrel-cli --help'\n";
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string out;  // a regular expression the whole output matches
        std::string err;  // the whole error stream
    };
    const std::vector<Case> cases = {
        {{"--help"}, 0, "usage: vantrel-cli [^]*", ""},
        {{"read", "-h"}, 0, "usage: vantrel-cli [^]*", ""},
        {{"--version"}, 0, "vantrel-cli \\d+\\.\\d+\\.\\d+\n", ""},
        {{"read", "--bogus"}, 2, "", "vantrel-cli: unknown option '--bogus'" + hint},
        {{"-x", "ports"}, 2, "", "vantrel-cli: unknown option '-x'" + hint},
        {{"--device", profile, "measure", "--frames"}, 2, "", "vantrel-cli: missing value after '--frames'" + hint},
        {{"--device", profile, "measure", "--frames="}, 2, "", "vantrel-cli: missing value after '--frames'" + hint},
        {{"--retries", "1e999", "--device", profile, "read"}, 2, "", "vantrel-cli: --retries takes a whole number" + hint},
        {{"--device", profile, "measure", "--frames", "abc"}, 2, "", "vantrel-cli: --frames takes a whole number of at least 1" + hint},
        {{"--device", profile, "measure", "--frames", "1e300"}, 2, "", "vantrel-cli: --frames takes a whole number of at least 1" + hint},
        {{}, 2, "", "vantrel-cli: no command given" + hint},
        {{"history", "frob"}, 2, "", "vantrel-cli: unknown command 'history frob'" + hint},
        // --name=VALUE is --name VALUE; options stand before or after the command.
        {{"--no-history", "measure", "--frames=2", "--device=" + profile}, 0, "1  [^\n]*\n2  [^\n]*\n", ""},
    };
    for (const Case& c : cases) {
        const CliRun run = RunCli(c.args);
        SCOPED_TRACE(::testing::PrintToString(c.args));
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_TRUE(std::regex_match(run.out, std::regex(c.out))) << run.out;
        EXPECT_EQ(run.err, c.err);
    }
    // More usage errors of each command, by exit code alone: nothing runs, nothing is printed.
    const std::vector<std::vector<std::string>> usageErrors = {
        {"identify"} /* neither --port nor --device */, {"--device", profile, "--port", "/dev/null", "identify"},
        {"--device", profile, "--port", "a", "read"}, {"--device", profile, "--port", "a", "--port", "b", "read"},
        {"--device", profile, "measure", "--frames", "0"}, {"--device", profile, "measure", "--frames", "1e999"},
        {"--device", profile, "program"}, {"--lang", "de", "--device", profile, "identify"}, {"--lang"},
        {"--retries", "-1", "--device", profile, "identify"}, {"--device"}, {"file", "show"},
        {"file", "show", "a", "b"}, {"report", kExample} /* --out missing */, {"--device", profile, "measure", "--csv"},
    };
    for (const auto& args : usageErrors) {
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.exitCode, cli::kExitUsage) << ::testing::PrintToString(args);
        EXPECT_TRUE(run.out.empty()) << ::testing::PrintToString(args);
    }
}

TEST(CommandLineLanguage, FromTheLocaleUnlessLangIsGiven) {
    struct Case {
        std::optional<std::string> all, messages, lang;
        int languageIndex;  // 0 Italian, 1 English
    };
    const std::vector<Case> cases = {
        {std::nullopt, std::nullopt, std::nullopt, 1},
        {std::nullopt, std::nullopt, "it_IT.UTF-8", 0},
        {std::nullopt, std::nullopt, "en_GB.UTF-8", 1},
        {"C", std::nullopt, "it_IT.UTF-8", 1},          // LC_ALL first
        {"", "it_CH.UTF-8", "en_US.UTF-8", 0},          // an empty variable does not count
        {std::nullopt, "en_US.UTF-8", "it_IT.UTF-8", 1},
    };
    for (const Case& c : cases) {
        const LocaleEnvironment environment(c.all, c.messages, c.lang);
        EXPECT_EQ(cli::LanguageFromEnvironment(), c.languageIndex)
            << c.all.value_or("-") << ' ' << c.messages.value_or("-") << ' ' << c.lang.value_or("-");
    }
    // The whole tool (the message about a missing file): Italian from LANG, and --lang
    // still decides.
    const LocaleEnvironment italian(std::nullopt, std::nullopt, "it_IT.UTF-8");
    const std::string missing = "/nonexistent/missing.D70";
    const CliRun fromLocale = RunCli({"file", "show", missing});
    const CliRun english = RunCli({"--lang", "en", "file", "show", missing});
    const CliRun italianAsked = RunCli({"--lang", "it", "file", "show", missing});
    EXPECT_EQ(fromLocale.exitCode, cli::kExitInvalidFile);
    EXPECT_EQ(fromLocale.err, italianAsked.err);
    EXPECT_NE(fromLocale.err, english.err);
}

}  // namespace

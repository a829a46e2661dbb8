#include "cli/Cli.h"

#include <algorithm>
#include <functional>
#include <map>
#include <ostream>

#include "cli/Commands.h"
#include "files/AppFolder.h"
#include "resources/NumberFormat.h"
#include "resources/StringTable.h"

namespace vantrel::cli {

namespace {

// Options of every command that take a value: the parser must not mistake the value for a
// positional argument.
const std::vector<std::string> kValueOptions = {"--frames", "--preview", "--out", "--csv", "--serial", "--since"};

const char* kUsage =
    "usage: vantrel-cli [--port PATH | --device PROFILE.json|default] [--save-device OUT.json]\n"
    "                   [--lang it|en] [--retries N] [--realtime] [--app-dir DIR]\n"
    "                   [--history postgresql://...|FILE.sqlite] [--no-history] COMMAND ...\n"
    "  ports     [--json]\n"
    "  identify  [--json]\n"
    "  read      [--json]\n"
    "  program   FILE.D70 [--accept-noisy] [--dry-run] [--verify] [--json]\n"
    "            [--preview OUT.csv|OUT.png]\n"
    "            (several --port P: one transmitter per port, programmed at once)\n"
    "  report    [FILE.D70] --out REPORT.pdf   (without FILE: the connected transmitter)\n"
    "  compare   FILE.D70 [--json]             (exit 0 equal, 5 different)\n"
    "  measure   [--frames N] [--csv OUT.csv] [--json]\n"
    "  serial    [--json]\n"
    "  dump      [--json]\n"
    "  file show FILE.D70 [--json]\n"
    "  history list [--serial S] [--since DATE] [--json]\n"
    "  history show ID [--json]\n"
    "  history diff ID1 ID2                    (exit 0 equal, 5 different)\n"
    "  history export --csv OUT.csv [--serial S] [--since DATE]\n"
    "  history check                           (exit 9 when an entry was changed or removed)\n";

bool TakesValue(const std::string& word) {
    return std::find(kValueOptions.begin(), kValueOptions.end(), word) != kValueOptions.end();
}

// Splits the arguments into global options and the command's words. Returns false (with a
// reason) on a malformed global option.
bool ParseArguments(const std::vector<std::string>& args, Invocation& invocation, std::string& problem) {
    GlobalOptions& g = invocation.global;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&](std::optional<std::string>& target) {
            if (i + 1 >= args.size()) {
                problem = a + " needs a value";
                return false;
            }
            target = args[++i];
            return true;
        };
        if (a == "--port") {
            std::optional<std::string> port;
            if (!value(port)) return false;
            g.ports.push_back(*port);
            if (!g.port) g.port = port;
        } else if (a == "--device") {
            if (!value(g.device)) return false;
            // "default": the profile that ships with the programs (build tree or share/vantrel).
            if (*g.device == "default") {
                const std::filesystem::path profile = files::DefaultProfileFile();
                if (profile.empty()) {
                    problem = "--device default: profiles/default.json is not installed";
                    return false;
                }
                g.device = profile.string();
            }
        } else if (a == "--save-device") {
            if (!value(g.saveDevice)) return false;
        } else if (a == "--app-dir") {
            if (!value(g.appDir)) return false;
        } else if (a == "--lang") {
            std::optional<std::string> lang;
            if (!value(lang)) return false;
            if (*lang != "it" && *lang != "en") {
                problem = "--lang takes it or en";
                return false;
            }
            g.languageIndex = *lang == "it" ? 0 : 1;
        } else if (a == "--retries") {
            std::optional<std::string> n;
            if (!value(n)) return false;
            const auto parsed = resources::ParseNumber(*n);
            if (!parsed || *parsed < 0 || *parsed > 1000 || *parsed != static_cast<int>(*parsed)) {
                problem = "--retries takes a whole number";
                return false;
            }
            g.retries = static_cast<int>(*parsed);
        } else if (a == "--realtime") {
            g.realtime = true;
        } else if (a == "--history") {
            if (!value(g.history)) return false;
        } else if (a == "--no-history") {
            g.noHistory = true;
        } else {
            invocation.words.push_back(a);
        }
    }
    // Several ports with a device profile: one simulated transmitter per port (production line).
    if (g.port && g.device && g.ports.size() == 1) {
        problem = "--port and --device exclude each other";
        return false;
    }
    return true;
}

using Handler = std::function<int(Context&)>;

// Commands by their leading words.
const std::map<std::vector<std::string>, Handler>& CommandTable() {
    static const std::map<std::vector<std::string>, Handler> table = {
        {{"file", "show"}, FileShow},
        {{"ports"}, Ports},
        {{"identify"}, Identify},
        {{"read"}, Read},
        {{"program"}, ProgramOnPorts},
        {{"report"}, Report},
        {{"compare"}, Compare},
        {{"measure"}, Measure},
        {{"serial"}, Serial},
        {{"dump"}, Dump},
        {{"history", "list"}, HistoryList},
        {{"history", "show"}, HistoryShow},
        {{"history", "diff"}, HistoryDiff},
        {{"history", "export"}, HistoryExport},
        {{"history", "check"}, HistoryCheck},
    };
    return table;
}

}  // namespace

bool Invocation::HasFlag(const std::string& flag) const {
    return std::find(words.begin(), words.end(), flag) != words.end();
}

std::optional<std::string> Invocation::OptionValue(const std::string& option) const {
    const auto it = std::find(words.begin(), words.end(), option);
    if (it == words.end() || it + 1 == words.end()) return std::nullopt;
    return *(it + 1);
}

std::vector<std::string> Invocation::Positionals() const {
    std::vector<std::string> result;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i].rfind("--", 0) == 0) {
            if (TakesValue(words[i])) ++i;
            continue;
        }
        result.push_back(words[i]);
    }
    return result;
}

int Context::languageOffset() const { return resources::LanguageOffsetFor(invocation.global.languageIndex); }

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        const SimulatorWatch* simulatorWatch) {
    Invocation invocation;
    std::string problem;
    if (!ParseArguments(args, invocation, problem)) {
        err << "vantrel-cli: " << problem << '\n' << kUsage;
        return kExitUsage;
    }
    const std::vector<std::string> positionals = invocation.Positionals();
    if (invocation.global.ports.size() > 1 && (positionals.empty() || positionals[0] != "program")) {
        err << "vantrel-cli: --port may be given more than once only for program\n" << kUsage;
        return kExitUsage;
    }
    for (const auto& [commandWords, handler] : CommandTable()) {
        if (positionals.size() < commandWords.size()) continue;
        if (!std::equal(commandWords.begin(), commandWords.end(), positionals.begin())) continue;
        Context context{invocation, out, err, simulatorWatch};
        return handler(context);
    }
    err << kUsage;
    return kExitUsage;
}

}  // namespace vantrel::cli

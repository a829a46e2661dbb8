// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Cli.h"

#include <QCommandLineParser>
#include <QStringList>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <functional>
#include <map>
#include <ostream>
#include <string_view>

#include "cli/Commands.h"
#include "files/AppFolder.h"
#include "resources/NumberFormat.h"
#include "resources/StringTable.h"

namespace vantrel::cli {

namespace {

// The command line's options. Global ones and the commands' own may stand before or after
// the command word; which command reads which is up to the command.
struct OptionSpec {
    const char* name;       // without the leading dashes
    const char* valueName;  // empty: a flag
};
constexpr OptionSpec kOptions[] = {
    {"port", "PATH"}, {"device", "PROFILE"}, {"save-device", "OUT.json"}, {"app-dir", "DIR"}, {"lang", "LANG"},
    {"retries", "N"}, {"realtime", ""}, {"history", "DB"}, {"no-history", ""},
    {"json", ""}, {"accept-noisy", ""}, {"dry-run", ""}, {"verify", ""},
    {"frames", "N"}, {"preview", "FILE"}, {"out", "FILE"}, {"csv", "FILE"}, {"serial", "S"}, {"since", "DATE"},
    {"help", ""}, {"version", ""},
};
// The options ParseArguments keeps in GlobalOptions; the rest go to the command.
const std::vector<std::string> kGlobalOptions = {"port", "device", "save-device", "app-dir", "lang",
                                                 "retries", "realtime", "history", "no-history"};

const char* kUsage =
    "usage: vantrel-cli [--port PATH | --device PROFILE.json|default] [--save-device OUT.json]\n"
    "                   [--lang it|en] [--retries N] [--realtime] [--app-dir DIR]\n"
    "                   [--history postgresql://...|FILE.sqlite] [--no-history] COMMAND ...\n"
    "       vantrel-cli --help | --version\n"
    "  ports     [--json]\n"
    "  identify  [--json]\n"
    "  read      [--json]\n"
    "  program   FILE.D70 [--accept-noisy] [--dry-run] [--verify] [--json]\n"
    "            [--preview OUT.csv|OUT.png]\n"
    "            (several --port P: one transmitter per port, programmed at once)\n"
    "  report    [FILE.D70] --out REPORT.pdf   (without FILE: the connected transmitter)\n"
    "  compare   FILE.D70 [--json]             (exit 0 equal, 5 different)\n"
    "  measure   [--frames N] [--csv OUT.csv] [--json]   (--json: one object per line)\n"
    "  serial    [--json]\n"
    "  dump      [--json]\n"
    "  file show FILE.D70 [--json]\n"
    "  history list [--serial S] [--since DATE] [--json]\n"
    "  history show ID [--json]\n"
    "  history diff ID1 ID2                    (exit 0 equal, 5 different)\n"
    "  history export --csv OUT.csv [--serial S] [--since DATE]\n"
    "  history check                           (exit 9 when an entry was changed or removed)\n"
    "Options may stand before or after the command; --name=VALUE is --name VALUE.\n";

// The argument that named an unknown option, as the user typed it (without "=value").
std::string AsTyped(const std::vector<std::string>& args, const QString& name) {
    for (const std::string& arg : args) {
        std::string bare = arg.substr(0, arg.find('='));
        const std::size_t dashes = bare.find_first_not_of('-');
        if (dashes >= 1 && dashes <= 2 && bare.substr(dashes) == name.toStdString()) return bare;
    }
    return (name.size() == 1 ? "-" : "--") + name.toStdString();
}

// Splits the arguments into global options, the command's options and its words. Returns
// false (with a reason) on an unknown option, an option without its value or a malformed value.
bool ParseArguments(const std::vector<std::string>& args, Invocation& invocation, std::string& problem) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionSpec& known : kOptions)
        parser.addOption(QCommandLineOption(QString::fromLatin1(known.name), QString(), QString::fromLatin1(known.valueName)));
    parser.addOption(QCommandLineOption(QStringLiteral("h")));
    QStringList arguments{QStringLiteral("vantrel-cli")};
    for (const std::string& arg : args) arguments << QString::fromStdString(arg);
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            problem = "unknown option '" + AsTyped(args, unknown.first()) + "'";
        } else {
            // "Missing value after '--frames'."
            std::string text = parser.errorText().toStdString();
            if (!text.empty() && text.back() == '.') text.pop_back();
            if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
            problem = text;
        }
        return false;
    }
    for (const QString& word : parser.positionalArguments()) invocation.positionals.push_back(word.toStdString());
    for (const OptionSpec& known : kOptions) {
        const QString name = QString::fromLatin1(known.name);
        if (!parser.isSet(name)) continue;
        const std::string option = std::string("--") + known.name;
        const std::string value = *known.valueName ? parser.value(name).toStdString() : std::string();
        if (*known.valueName && value.empty()) {
            problem = "missing value after '" + option + "'";
            return false;
        }
        if (std::find(kGlobalOptions.begin(), kGlobalOptions.end(), known.name) == kGlobalOptions.end())
            invocation.options[option] = value;
    }
    if (parser.isSet(QStringLiteral("h"))) invocation.options["--help"] = "";

    GlobalOptions& g = invocation.global;
    for (const QString& port : parser.values(QStringLiteral("port"))) g.ports.push_back(port.toStdString());
    if (!g.ports.empty()) g.port = g.ports.front();
    const auto value = [&](const char* name) -> std::optional<std::string> {
        if (!parser.isSet(QString::fromLatin1(name))) return std::nullopt;
        return parser.value(QString::fromLatin1(name)).toStdString();
    };
    g.device = value("device");
    // "default": the profile that ships with the programs (build tree or share/vantrel).
    if (g.device && *g.device == "default") {
        const std::filesystem::path profile = files::DefaultProfileFile();
        if (profile.empty()) {
            problem = "--device default: profiles/default.json is not installed";
            return false;
        }
        g.device = profile.string();
    }
    g.saveDevice = value("save-device");
    g.appDir = value("app-dir");
    g.history = value("history");
    g.realtime = parser.isSet(QStringLiteral("realtime"));
    g.noHistory = parser.isSet(QStringLiteral("no-history"));
    if (const auto lang = value("lang")) {
        if (*lang != "it" && *lang != "en") {
            problem = "--lang takes it or en";
            return false;
        }
        g.languageIndex = *lang == "it" ? 0 : 1;
    } else {
        g.languageIndex = LanguageFromEnvironment();
    }
    if (const auto n = value("retries")) {
        const auto parsed = resources::ParseNumber(*n);
        if (!parsed || *parsed < 0 || *parsed > 1000 || *parsed != static_cast<int>(*parsed)) {
            problem = "--retries takes a whole number";
            return false;
        }
        g.retries = static_cast<int>(*parsed);
    }
    // Several ports with a device profile: one simulated transmitter per port (production line).
    if (g.port && g.device && g.ports.size() == 1) {
        problem = "--port and --device exclude each other";
        return false;
    }
    return true;
}

// A usage error: one line and where to look.
int UsageError(std::ostream& err, const std::string& problem) {
    err << "vantrel-cli: " << problem << "; try 'vantrel-cli --help'\n";
    return kExitUsage;
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

bool Invocation::HasFlag(const std::string& flag) const { return options.count(flag) > 0; }

std::optional<std::string> Invocation::OptionValue(const std::string& option) const {
    const auto it = options.find(option);
    if (it == options.end()) return std::nullopt;
    return it->second;
}

int LanguageFromEnvironment() {
    // The first of these that is set decides, as for the C library's messages.
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value == nullptr || *value == '\0') continue;
        return std::string_view(value).substr(0, 2) == "it" ? 0 : 1;
    }
    return 1;
}

const char* Version() { return VANTREL_VERSION; }

int Context::languageOffset() const { return resources::LanguageOffsetFor(invocation.global.languageIndex); }

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        const SimulatorWatch* simulatorWatch, bool errIsTerminal) {
    Invocation invocation;
    std::string problem;
    if (!ParseArguments(args, invocation, problem)) return UsageError(err, problem);
    if (invocation.HasFlag("--help")) {
        out << kUsage;
        return kExitDone;
    }
    if (invocation.HasFlag("--version")) {
        out << "vantrel-cli " << Version() << '\n';
        return kExitDone;
    }
    const std::vector<std::string>& positionals = invocation.positionals;
    if (positionals.empty()) return UsageError(err, "no command given");
    if (invocation.global.ports.size() > 1 && positionals[0] != "program")
        return UsageError(err, "--port may be given more than once only for program");
    for (const auto& [commandWords, handler] : CommandTable()) {
        if (positionals.size() < commandWords.size()) continue;
        if (!std::equal(commandWords.begin(), commandWords.end(), positionals.begin())) continue;
        Context context{invocation, out, err, simulatorWatch, errIsTerminal};
        return handler(context);
    }
    std::string command = positionals[0];
    if (positionals.size() > 1 && (command == "file" || command == "history")) command += " " + positionals[1];
    return UsageError(err, "unknown command '" + command + "'");
}

}  // namespace vantrel::cli

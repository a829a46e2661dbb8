// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/model/ProgramFileCommands.h"

#include <algorithm>

#include "device/Families.h"
#include "device/Identify.h"
#include "files/DefaultName.h"
#include "resources/NumberFormat.h"
#include "resources/StringTable.h"
#include "ui/model/ProgramForm.h"

namespace vantrel::ui {

namespace {

// A name of two characters or fewer cannot be a programming file.
constexpr std::size_t kShortestName = 2;

// A range box as the file keeps it; an empty box is 0, as the range control reads it.
float ParseSingle(const std::string& text) { return resources::ParseSingle(text).value_or(0); }

bool Storable(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos || resources::ParseSingle(text).has_value();
}

// A list without a selection is stored as -1, and such a record loads back as it was.
std::int16_t Index(const ChoiceList& list) { return static_cast<std::int16_t>(list.selected); }

bool InList(const ChoiceList& list, int index) { return index == -1 || list.Has(index); }

}  // namespace

std::string FileTitle(const std::string& path) {
    for (std::size_t i = path.size(); i-- > 1;) {
        if (path[i] == '\\' || path[i] == '/') return path.substr(i + 1);
    }
    return path;
}

ProgramFileCommands::ProgramFileCommands(ProgramForm& form, FileDialogs& fileDialogs, ProgramFileStore& store,
                                         std::filesystem::path applicationFolder)
    : form_(form), fileDialogs_(fileDialogs), store_(store), applicationFolder_(std::move(applicationFolder)) {}

FileDialogRequest ProgramFileCommands::DialogRequest(int titleId, const char* firstFilter, int options) const {
    FileDialogRequest request;
    request.title = form_.T(titleId);
    request.filter =
        form_.T(resources::text::kProgrammingFile) + firstFilter + form_.T(resources::text::kAllFiles) + " (*.*)|*.*|";
    request.options = options;
    request.initialFolder = applicationFolder_;
    return request;
}

void ProgramFileCommands::ShowInvalidFile() {
    form_.dialogs().Show(
        link::TableMessage(resources::text::kInvalidFile, form_.state().LanguageOffset(), link::Buttons::Ok, link::Icon::Exclamation));
}

void ProgramFileCommands::ShowFileMessage(int headingId, const std::string& path, const std::string& reason,
                                          link::Icon icon) {
    link::Message message = link::TableMessage(headingId, form_.state().LanguageOffset(), link::Buttons::Ok, icon);
    message.text += '\n' + path + '\n' + reason;
    form_.dialogs().Show(message);
}

bool ProgramFileCommands::RangeTextsStorable() {
    for (const std::string* text : {&form_.inputRange().maxText(), &form_.inputRange().minText(),
                                    &form_.outputRange().maxText(), &form_.outputRange().minText()}) {
        if (Storable(*text)) continue;
        link::Message message = link::TableMessage(resources::text::kInvalidFormat, form_.state().LanguageOffset(),
                                                   link::Buttons::Ok, link::Icon::Exclamation);
        message.text += ": " + *text;
        form_.dialogs().Show(message);
        return false;
    }
    return true;
}

std::string ProgramFileCommands::WindowCaption() const {
    return form_.T(resources::text::kProductName) + "  ( " + FileTitle(form_.state().CurrentFile) + " )";
}

void ProgramFileCommands::SetCaption() { form_.SetCaption(WindowCaption()); }

bool ProgramFileCommands::FitsLists(const device::ConfigRecord& r) const {
    namespace pos = device::family;
    if (!InList(form_.inputFamilies(), r.InputType)) return false;
    if (r.InputType == pos::Thermocouple && !InList(form_.thermocoupleTypes(), r.TcType)) return false;
    if (r.InputType == pos::Rtd && (!InList(form_.rtdSensors(), r.RtdSensor) || !InList(form_.wirings(), r.Wires)))
        return false;
    if (r.InputType == pos::Resistance && !InList(form_.wirings(), r.Wires)) return false;
    if (r.InputType == pos::Potentiometer && !InList(form_.potRanges(), r.PotRange)) return false;
    if (!InList(form_.outputTypes(), device::FromFlag(r.OutputType) ? 1 : 0)) return false;
    if (device::FromFlag(r.CustomOn) &&
        (r.PointCount < 0 || r.PointCount > device::kRecordPoints || r.PointCountCjc < 0 ||
         r.PointCountCjc > device::kRecordPointsCjc))
        return false;
    return true;
}

std::optional<int> ProgramFileCommands::CurveCountProblem(const device::ConfigRecord& r) const {
    if (!device::FromFlag(r.CustomOn)) return std::nullopt;
    const int most = device::MaxSensorPoints(form_.state().identity);
    if (r.PointCount < device::kMinPoints || r.PointCount > most) return most;
    // Without a cold-junction page the editor keeps its count at 2, whatever the file holds.
    const bool cjcPage = r.InputType == device::family::Thermocouple && r.CjcInternal != 0;
    if (cjcPage && (r.PointCountCjc < device::kMinPoints || r.PointCountCjc > device::kMaxCjcPoints))
        return device::kMaxCjcPoints;
    return std::nullopt;
}

bool ProgramFileCommands::Open() {
    if (!MayReplaceConfiguration()) return false;
    FileDialogRequest request = DialogRequest(59, "(*.D70)|*.D70| ", 1024);
    return Load(fileDialogs_.OpenFileName(request));
}

bool ProgramFileCommands::OpenPath(const std::string& name) {
    return MayReplaceConfiguration() && Load(name);
}

bool ProgramFileCommands::MayReplaceConfiguration() {
    if (!form_.state().EditedSinceLoad) return true;
    return AskSaveChanges() != kCancelled;
}

bool ProgramFileCommands::Load(const std::string& name) {
    if (name.empty()) return false;
    if (name.size() <= kShortestName) {
        ShowInvalidFile();
        return false;
    }
    const files::ReadResult result = store_.Read(name);
    const int offset = form_.state().LanguageOffset();
    if (!result.ok()) {
        ShowFileMessage(resources::text::kInvalidFile, name, files::FileErrorText(result.problem(), offset), link::Icon::Exclamation);
        return false;
    }
    if (!FitsLists(result.record)) {
        ShowFileMessage(resources::text::kInvalidFile, name, resources::Text(resources::text::kFileDoesNotFitTransmitter, offset),
                        link::Icon::Exclamation);
        return false;
    }
    // A curve with more points than this model's editor takes would program something else:
    // it is refused with the editor's own message, and nothing changes.
    if (const auto most = CurveCountProblem(result.record)) {
        ShowFileMessage(resources::text::kInvalidFile, name, form_.T(resources::text::kPointCount) + resources::Str(*most),
                        link::Icon::Exclamation);
        return false;
    }
    form_.state().CurrentFile = name;
    form_.record() = result.record;
    PushRecord(result.record);
    form_.state().ConfigChanged = form_.state().EditedSinceLoad = false;
    SetCaption();
    return true;
}

void ProgramFileCommands::PushRecord(const device::ConfigRecord& r) {
    namespace pos = device::family;
    using device::FromFlag;
    ProgramForm& f = form_;
    device::WorkingState& s = f.state();

    f.ChooseFamily(r.InputType);
    switch (r.InputType) {
    case pos::Thermocouple:
        f.ChooseTcType(r.TcType);
        f.SetInternalCjc(r.CjcInternal != 0);
        f.SetLinear(r.LinearOn != 0);
        f.SetUnit(FromFlag(r.UnitCelsius));
        break;
    case pos::Rtd:
        f.ChooseRtdSensor(r.RtdSensor);
        f.ChooseWiring(r.Wires);
        f.SetLinear(r.LinearOn != 0);
        f.SetUnit(FromFlag(r.UnitCelsius));
        break;
    case pos::Potentiometer: f.ChoosePotRange(r.PotRange); break;
    case pos::Resistance: f.ChooseWiring(r.Wires); break;  // the family default is 3 wires
    default: break;
    }
    f.MoveSlider(AdjustWhich::Zero, r.ZeroAdjust);
    f.MoveSlider(AdjustWhich::Span, r.SpanAdjust);
    f.SetInputRangeValues(static_cast<double>(r.InRangeMin), static_cast<double>(r.InRangeMax));
    f.ChooseOutputType(FromFlag(r.OutputType) ? 1 : 0);
    f.SetOutputRangeValues(static_cast<double>(r.OutRangeMin), static_cast<double>(r.OutRangeMax));
    f.SetBurnout(FromFlag(r.BurnoutDown));
    f.SetDirection(FromFlag(r.OutputDirect));
    f.ClickFilter(FromFlag(r.FilterOn));
    if (s.HasTrips()) {
        s.TripLevels = {r.Trip1High, r.Trip1Low, r.Trip2High, r.Trip2Low};
        s.TripDelayTicks = r.TripDelay;
        s.TripFlags = r.TripMode;
    }
    if (FromFlag(r.CustomOn)) {
        // The file keeps the points the user entered; an even count gets its added point back.
        s.CustomActive = true;
        const int count = std::min<int>(r.PointCount, device::kWorkingPoints);
        s.PointExtra = count % 2 == 0 && count < device::kWorkingPoints;
        s.SensorPoints = count + (s.PointExtra ? 1 : 0);
        s.CjcPoints = std::min<int>(r.PointCountCjc, device::kWorkingPointsCjc);
        for (int i = 0; i < count; ++i) {
            const auto k = static_cast<std::size_t>(i);
            s.PtPhysical[k] = static_cast<float>(r.Points[k].physical);
            s.PtInput[k] = static_cast<float>(r.Points[k].input);
        }
        for (int i = 0; i < s.CjcPoints; ++i) {
            const auto k = static_cast<std::size_t>(i);
            s.CjcPhysical[k] = static_cast<float>(r.PointsCjc[k].physical);
            s.CjcInput[k] = static_cast<float>(r.PointsCjc[k].input);
        }
        f.RestoreCustomCurve();
    } else if (f.customCurve().checked || s.CustomActive) {
        // A plain file must not be programmed with the previous custom curve.
        f.RestoreCustomBox(false);
    }
    s.EditedSinceLoad = false;  // the form holds the record, nothing of the user's yet
    f.Changed();
}

void ProgramFileCommands::FillRecord() {
    using device::ToFlag;
    using device::ToTick;
    const ProgramForm& f = form_;
    const device::WorkingState& s = f.state();
    device::ConfigRecord& r = form_.record();

    r.InputType = Index(f.inputFamilies());
    r.TcType = Index(f.thermocoupleTypes());
    r.RtdSensor = Index(f.rtdSensors());
    r.Wires = Index(f.wirings());
    r.PotRange = Index(f.potRanges());
    r.Spare1 = r.Spare2 = r.Spare3 = 0;
    r.InRangeMax = ParseSingle(f.inputRange().maxText());
    r.InRangeMin = ParseSingle(f.inputRange().minText());
    r.CjcInternal = ToTick(f.internalCjc().checked);
    r.LinearOn = ToTick(f.linearisation().checked);
    r.LangOffset = static_cast<std::int16_t>(s.LanguageOffset());
    r.UnitCelsius = ToFlag(f.celsius());
    r.ZeroAdjust = static_cast<std::int16_t>(f.zeroTrim().slider);
    r.SpanAdjust = static_cast<std::int16_t>(f.spanTrim().slider);
    r.CustomOn = ToFlag(s.CustomActive);
    if (s.CustomActive) {
        const int count = std::clamp(s.SensorPoints - (s.PointExtra ? 1 : 0), 0, device::kRecordPoints);
        const int countCjc = std::clamp(s.CjcPoints, 0, device::kRecordPointsCjc);
        r.PointCount = static_cast<std::int16_t>(count);
        r.PointCountCjc = static_cast<std::int16_t>(countCjc);
        for (int i = 0; i < count; ++i) {
            const auto k = static_cast<std::size_t>(i);
            r.Points[k] = {static_cast<double>(s.PtPhysical[k]), static_cast<double>(s.PtInput[k])};
        }
        for (int i = 0; i < countCjc; ++i) {
            const auto k = static_cast<std::size_t>(i);
            r.PointsCjc[k] = {static_cast<double>(s.CjcPhysical[k]), static_cast<double>(s.CjcInput[k])};
        }
    }
    r.BurnoutDown = ToFlag(f.burnoutDown());
    r.OutputDirect = ToFlag(f.outputDirect());
    r.OutRangeMax = ParseSingle(f.outputRange().maxText());
    r.OutRangeMin = ParseSingle(f.outputRange().minText());
    r.OutputType = ToFlag(f.outputTypes().selected == 1);
    r.FilterOn = ToFlag(f.filter().checked);
    if (s.HasTrips()) {
        r.Trip1High = s.TripLevels[0];
        r.Trip1Low = s.TripLevels[1];
        r.Trip2High = s.TripLevels[2];
        r.Trip2Low = s.TripLevels[3];
        r.TripDelay = s.TripDelayTicks;
        r.TripMode = s.TripFlags;
    }
}

bool ProgramFileCommands::Save() {
    if (!RangeTextsStorable()) {
        form_.Changed();
        return false;
    }
    FillRecord();
    device::WorkingState& s = form_.state();
    std::string name = s.CurrentFile;
    if (files::IsDefaultConfigName(s.CurrentFile) || s.ForceSaveAs) {
        s.ForceSaveAs = false;
        name = fileDialogs_.SaveFileName(DialogRequest(112, " (*.D70)|*.D70| ", 2));
    }
    if (name.empty()) {
        form_.Changed();
        return false;
    }
    const files::WriteResult written = store_.Write(name, form_.record());
    const int offset = s.LanguageOffset();
    if (!written.ok()) {
        ShowFileMessage(resources::text::kFileNotWritten, name, files::FileErrorText(written.problem, offset),
                        link::Icon::Exclamation);
        form_.Changed();
        return false;
    }
    if (!written.atomic) {
        link::Message notice = link::TableMessage(resources::text::kFileSavedInPlace, offset, link::Buttons::Ok,
                                                  link::Icon::Information);
        notice.text += '\n' + name;
        form_.dialogs().Show(notice);
    }
    s.CurrentFile = name;
    s.ConfigChanged = s.EditedSinceLoad = false;
    SetCaption();
    return true;
}

bool ProgramFileCommands::SaveAs() {
    form_.state().ForceSaveAs = true;
    return Save();
}

int ProgramFileCommands::AskSaveChanges() {
    const device::WorkingState& s = form_.state();
    if (!s.ConfigChanged) return kNothingToAsk;
    link::Message message;
    message.textId = resources::text::kFileChangedBefore;
    message.titleId = resources::text::kExit;
    message.text = form_.T(resources::text::kFileChangedBefore) + FileTitle(s.CurrentFile) + " " +
                   form_.T(resources::text::kFileChangedAfter);
    message.title = form_.T(resources::text::kExit);
    message.buttons = link::Buttons::YesNoCancel;
    message.icon = link::Icon::Question;
    const link::Answer answer = form_.dialogs().Show(message);
    if (answer == link::Answer::Yes) return Save() ? kSaved : kCancelled;
    return answer == link::Answer::No ? kDiscarded : kCancelled;
}

void StartUnsavedConfiguration(device::WorkingState& state) {
    if (!files::IsDefaultConfigName(state.CurrentFile))
        state.CurrentFile = files::DefaultConfigNameIn(std::filesystem::path(state.CurrentFile).parent_path());
    state.ConfigChanged = true;
    state.EditedSinceLoad = false;
}

}  // namespace vantrel::ui

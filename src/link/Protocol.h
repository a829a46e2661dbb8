// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "link/Cancel.h"
#include "link/Clock.h"
#include "link/Dialogs.h"
#include "link/Progress.h"
#include "link/Transport.h"

namespace vantrel::link {

// The reading routines return 256 bytes: index 0 is the error flag (1 when the user chose
// Cancel), indices 1..n the data.
struct ByteResult {
    std::array<std::uint8_t, 256> bytes{};
    bool cancelled() const { return bytes[0] == 1; }
    std::uint8_t operator[](std::size_t index) const { return bytes[index]; }
};

// How a wait for a reply ended: the reply came, or after a time-out the user chose Retry (the
// caller restarts its exchange) or Cancel (the caller gives up); a cancelled operation ends
// as Cancel without asking.
struct ReplyWait {
    enum class Ending { Received, Retry, Cancel };
    Ending ending = Ending::Cancel;
    std::string reply;  // the matched reply when received

    bool received() const { return ending == Ending::Received; }
    bool retry() const { return ending == Ending::Retry; }
    bool cancelled() const { return ending == Ending::Cancel; }
};

// Time-outs and pauses of the exchanges, in seconds.
namespace timing {
inline constexpr double kAfterSend = 0.1;           // after every command of a read or a stream
inline constexpr double kAfterVersionCommand = 0.2; // after "SM" and "PR" before "$V"
inline constexpr double kAfterRecovery = 0.5;       // after "$FPxx" when Retry is chosen
inline constexpr double kBeforeRestart = 1.0;       // after "$FPxx" of a restarted block
inline constexpr double kReplyTimeout = 4.0;        // "$R" and "$V"
inline constexpr double kFrameTimeout = 5.0;        // a measurement frame
inline constexpr double kReopenWait = 4.0;          // Retry after a vanished port: how long it may take to come back
inline constexpr double kReopenPoll = 0.25;         // ... tried this often
}  // namespace timing

// Finds the reply in a receive buffer: every position holding the pattern's first character
// with enough characters after it is a candidate; a candidate is accepted when it ends in
// CR LF, or in a CR alone when crOnly is set. The last accepted candidate wins.
std::optional<std::string> MatchReply(std::string_view buffer, std::string_view pattern, bool crOnly);

// The command protocol over one transport. Not thread-safe; one exchange at a time.
class Protocol {
public:
    Protocol(Transport& transport, Clock& clock, Dialogs& dialogs);

    // The identified model decides whether measurement frames end in a CR alone.
    void setDeviceModel(int model) { m_deviceModel = model; }
    int deviceModel() const { return m_deviceModel; }
    // Language of the Retry/Cancel box (0 Italian, 300 English).
    void setLanguageOffset(int offset) { m_languageOffset = offset; }
    // Called with every cell that ReadBlock reads (the history keeps what was read).
    void setCellObserver(std::function<void(int address, std::uint8_t value)> observer) {
        m_cellObserver = std::move(observer);
    }

    Transport& transport() { return m_transport; }
    Clock& clock() { return m_clock; }
    Dialogs& dialogs() { return m_dialogs; }
    int languageOffset() const { return m_languageOffset; }

    // The protocol's pauses in the active step get a new length (the step is added when
    // the plan has none): what the operation just learnt, such as the number of writes.
    void ResizeStep(Step step, double seconds) {
        if (m_meter) m_meter->Resize(step, seconds);
    }

    // Writes a frame. Returns false (and remembers it) when the line refused the bytes.
    bool Send(std::string_view frame);
    // True once a write failed since the last clearLineLost(): the cable is gone or the
    // port was closed under us.
    bool lineLost() const { return m_lineLost; }
    void clearLineLost() { m_lineLost = false; }
    // The port is gone: a write failed or the system reported the device vanished. No reply
    // can come until the port is opened again.
    bool portGone() const { return m_lineLost || m_transport.vanished(); }
    // How to open the same port again (close, then open the same path with the same
    // settings); true when it opened. Retry after a vanished port calls it.
    void setReopen(std::function<bool()> reopen) { m_reopen = std::move(reopen); }
    // Opens the port again, trying every timing::kReopenPoll seconds for up to
    // timing::kReopenWait (a replugged adapter takes a moment to come back). True when the
    // line is back.
    bool ReopenPort();

    // The operation's stop request and progress (either may be absent). A cancelled token
    // ends every pause and reply wait at once: the reading routines then return with the
    // error flag set, as after Cancel in the Retry/Cancel box, without showing the box.
    void setCancelToken(CancelToken* token) { m_cancel = token; }
    void setProgressMeter(ProgressMeter* meter) { m_meter = meter; }
    bool cancelRequested() const { return m_cancel != nullptr && m_cancel->cancelled(); }
    // The operation has come to `step` (for the progress shown).
    void EnterStep(Step step) {
        if (m_meter) m_meter->Enter(step);
    }
    // The first "$W" is about to go out: from now on a stop leaves a partial configuration.
    void NoteWritesStarted() {
        if (m_cancel) m_cancel->MarkWritesStarted();
    }
    // After a cancelled operation: "SM" stops a stream, "$FPxx" ends programming mode, so the
    // transmitter is back in working mode whatever the operation had started. The pause
    // between them is kept, cancel or not.
    void ReturnToWorkingMode();

    // A pause between commands: the user interface keeps running. Ends at once when the
    // operation is cancelled.
    void Wait(double seconds);
    // Sends a command and keeps the pause every command of a read or a stream is followed by.
    void SendCommand(std::string_view frame);

    // Sends command (nothing when empty) and waits for a reply matching pattern. Returns the
    // reply, or after a time-out the user's choice: Retry (after "$FPxx" and 0.5 s) or
    // Cancel. A cancelled operation ends as Cancel at once (nothing sent). A port that
    // vanishes ends the wait at once with its own box; Retry then opens the port again
    // before the "$FPxx".
    ReplyWait SendAndMatch(std::string_view command, std::string_view pattern, double timeoutSeconds,
                             bool crOnly);

    // count bytes from address start (start + count <= 256); index k holds address start + k - 1.
    ByteResult ReadBlock(int start, int count);
    // Index 1 family, 2 model, 3 firmware version, 4 firmware release.
    ByteResult ReadVersion();
    // Indices 1..5 hold characters 2..6 of the next frame of the measurement stream.
    ByteResult ReadMeasurementFrame();

private:
    bool RetryOrCancel();

    Transport& m_transport;
    Clock& m_clock;
    Dialogs& m_dialogs;
    int m_deviceModel = 10;
    int m_languageOffset = 300;
    bool m_lineLost = false;
    std::function<bool()> m_reopen;
    CancelToken* m_cancel = nullptr;
    ProgressMeter* m_meter = nullptr;
    std::function<void(int, std::uint8_t)> m_cellObserver;
};

}  // namespace vantrel::link

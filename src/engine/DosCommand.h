#pragma once

#include "platform/errors.h"

#include <QByteArray>
#include <QMutex>
#include <QObject>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <QWaitCondition>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

// The process runner: starts one command line as a child process, captures its standard output and
// standard error through one pipe, splits the text into lines and reports every line and, at the end,
// the exit code to its owner. The waiting and reading happen on a worker thread, one per run; the
// events are raised on the main thread.

enum TOutputType {
    otEntireLine,      // a complete line, its terminator removed
    otBeginningOfLine, // the text received so far of a line whose end has not arrived yet
};

enum TReturnCode {
    rcCRLF, // the last complete line ended with CR LF
    rcLF,   // the last complete line ended with a lone CR or a lone LF
};

// Show state requested for the child's window. Kept for compatibility; a Linux child has no window.
enum TShowWindow {
    swHIDE,
    swMAXIMIZE,
    swMINIMIZE,
    swRESTORE,
    swSHOW,
    swSHOWDEFAULT,
    swSHOWMAXIMIZED,
    swSHOWMINIMIZED,
    swSHOWMINNOACTIVE,
    swSHOWNA,
    swSHOWNOACTIVATE,
    swSHOWNORMAL,
};
// The Windows show-state value each member stands for.
quint32 ShowWindowValue(TShowWindow showWindow);

// Process-creation flag of the child. Kept for compatibility; it has no effect on Linux.
enum TCreationFlag {
    fCREATE_DEFAULT_ERROR_MODE,
    fCREATE_NEW_CONSOLE,
    fCREATE_NEW_PROCESS_GROUP,
    fCREATE_SEPARATE_WOW_VDM,
    fCREATE_SHARED_WOW_VDM,
    fCREATE_SUSPENDED,
    fCREATE_UNICODE_ENVIRONMENT,
    fDEBUG_PROCESS,
    fDEBUG_ONLY_THIS_PROCESS,
    fDETACHED_PROCESS,
};
// The Windows process-creation flag each member stands for.
quint32 CreationFlagValue(TCreationFlag creationFlag);

// The priority class of every child: the normal class.
constexpr quint32 NORMAL_PRIORITY_CLASS = 0x20;
// The exit code by which a run that was stopped or timed out is reported ("still active").
constexpr quint32 STILL_ACTIVE = 259;
// The exit code reported when the child could not be started.
constexpr quint32 DOS_COMMAND_NOT_STARTED = 127;

class TCreatePipeError : public EDosCommandError {
public:
    using EDosCommandError::EDosCommandError;
};

// "<command line> doesn't exist."
class TCreateProcessError : public EDosCommandError {
public:
    using EDosCommandError::EDosCommandError;
};

class TDosCommand;
using TNewLineEvent =
    std::function<void(TDosCommand* sender, const QByteArray& newLine, TOutputType outputType)>;
using TTerminateEvent = std::function<void(TDosCommand* sender, quint32 exitCode)>;

// The seconds counted for the two time-outs. Shared with the workers, which reset and read them
// without a lock, so that a worker that outlives its runner never reads freed memory.
struct TProcessCounters {
    std::atomic<qint32> SinceBeginning{0};
    std::atomic<qint32> SinceLastOutput{0};
};

// A one-second timer (ticking on the main thread) that counts the seconds since a run began and
// since its last output. Created disabled.
class TProcessTimer : public QTimer {
    Q_OBJECT
public:
    explicit TProcessTimer(QObject* owner = nullptr);

    qint32 SinceBeginning() const { return FCounters->SinceBeginning.load(); }
    qint32 SinceLastOutput() const { return FCounters->SinceLastOutput.load(); }
    const std::shared_ptr<TProcessCounters>& Counters() const { return FCounters; }

    // Interval 1000 ms, both counters 0, enabled.
    void StartCounting();
    // SinceLastOutput back to 0; safe from any thread.
    void ResetLastOutput() { FCounters->SinceLastOutput.store(0); }
    void StopCounting();

private:
    std::shared_ptr<TProcessCounters> FCounters;
};

// What one run shares between its runner (main thread) and its worker.
struct TDosRunLink {
    // Main thread only. Null once the runner is gone: nothing of the run reaches it any more.
    TDosCommand* Runner = nullptr;
    TNewLineEvent OnNewLine;
    TTerminateEvent OnTerminated;

    std::atomic<bool> StopRequested{false};
    // The runner is gone (or the program is ending): the worker hands nothing off any more and only
    // ends its child.
    std::atomic<bool> Detached{false};

    QMutex Mutex;
    QWaitCondition HandedOff;
    int PidFd = -1;         // the running child, for a Stop that ends it at once; -1 when none
    bool Signalled = false; // a Stop or the runner's destruction sent the child SIGTERM
    quint64 Posted = 0;     // hand-offs posted by the worker
    quint64 Done = 0;       // hand-offs finished on the main thread
};

// The worker of one run: starts the child (without a shell, as an argument vector), polls its merged
// output, splits it into lines, and hands each read's lines and finally the exit code to the main
// thread, waiting until their handlers have returned. Frees itself when it ends.
class TDosThread : public QThread {
    Q_OBJECT
public:
    struct TSettings {
        QByteArray CommandLine;
        QStringList Arguments; // program first
        qint32 MaxTimeAfterBeginning = 0;
        qint32 MaxTimeAfterLastOutput = 0;
        TShowWindow ShowWindow = swHIDE;
        TCreationFlag CreationFlag = fCREATE_NEW_CONSOLE;
        quint32 PriorityClass = NORMAL_PRIORITY_CLASS;
    };

    TDosThread(const TSettings& settings, std::shared_ptr<TDosRunLink> link,
               std::shared_ptr<TProcessCounters> counters);
    ~TDosThread() override;

    // Called when the program ends: every worker still running lets go of its runner, ends its child
    // and is waited for, so that no child outlives the program.
    static void EndAllWorkers();

protected:
    void run() override;

private:
    struct TLine {
        QByteArray Text;
        TOutputType Type;
        TReturnCode ReturnCode;
    };

    void Split(const char* data, qsizetype size);
    void Deliver(QByteArray line, TOutputType type);
    void HandOffLines();
    bool HandOff(std::function<void()> onMainThread);
    bool TimedOut() const;

    const TSettings FSettings;
    const std::shared_ptr<TDosRunLink> FLink;
    const std::shared_ptr<TProcessCounters> FCounters;

    QByteArray FPendingLine;
    bool FPreviousReadEndedWithCR = false;
    TReturnCode FReturnCode = rcCRLF;
    std::vector<TLine> FBatch;
};

class TDosCommand : public QObject {
    Q_OBJECT
public:
    explicit TDosCommand(QObject* owner = nullptr);
    // Lets go of any run without waiting: the run's child is ended and nothing of it reaches this
    // runner or its owner afterwards.
    ~TDosCommand() override;

    // The whole command line, program first. Shown in the " doesn't exist." message; the child
    // is started from Arguments, or, when Arguments is empty, from the words of this text
    // (spaces separate, double quotes group). No shell ever sees either.
    QByteArray CommandLine;
    QStringList Arguments;
    TNewLineEvent OnNewLine;
    TTerminateEvent OnTerminated;
    qint32 MaxTimeAfterBeginning = 0;  // seconds; 0 or less: no limit
    qint32 MaxTimeAfterLastOutput = 0; // seconds; 0 or less: no limit
    TShowWindow ShowWindow = swHIDE;
    TCreationFlag CreationFlag = fCREATE_NEW_CONSOLE;

    // Terminator of the line whose OnNewLine handler is running.
    TReturnCode OutputReturnCode() const { return FOutputReturnCode; }
    // True while a worker is held (from Execute until Stop or the end of the run).
    bool Running() const { return FCurrent != nullptr; }
    TProcessTimer* ProcessTimer() const { return FTimer; }

    // Starts a run and returns at once; nothing at all when CommandLine is empty.
    void Execute();
    // Asks the held run to stop and lets go of it, without waiting: the child gets SIGTERM at once
    // (exactly once) and SIGKILL when it is still alive about 2 s later. The run's OnTerminated still
    // follows, with 259 unless the child had ended by itself.
    void Stop();

private:
    friend class TDosThread;
    void RunEnded(const std::shared_ptr<TDosRunLink>& link);

    quint32 FPriorityClass = NORMAL_PRIORITY_CLASS;
    TReturnCode FOutputReturnCode = rcCRLF;
    TProcessTimer* FTimer = nullptr;
    std::shared_ptr<TDosRunLink> FCurrent;           // the held run
    TDosRunLink* FLatest = nullptr;                  // the run started last, held or not
    std::vector<std::shared_ptr<TDosRunLink>> FRuns; // every run whose end has not been handled
};

#include "engine/DosCommand.h"

#include "platform/dialogSeam.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QScopeGuard>
#include <algorithm>
#include <csignal>
#include <set>
#include <sys/syscall.h>
#include <unistd.h>
#include <utility>

namespace {

// How long the worker waits for output before it looks at the stop request and the time-outs again.
// A Stop does not wait for the poll: it sends SIGTERM to the child at once (through a pidfd, which
// can never hit a recycled process id), and the child's end wakes the worker. Only where the
// system offers no pidfd does the worker poll fast enough to notice a Stop within 100 ms by itself.
constexpr int POLL_MS = 250;
constexpr int POLL_MS_WITHOUT_PIDFD = 25;
// A stopped child first gets SIGTERM (ffmpeg then closes a valid, shorter file) and SIGKILL only when
// it is still alive after this grace period.
constexpr int TERMINATE_GRACE_MS = 2000;
constexpr int KILL_WAIT_MS = 5000;
constexpr qsizetype MAX_READ = 1 << 20;

QMutex& workersMutex() {
    static QMutex mutex;
    return mutex;
}
std::set<TDosThread*>& liveWorkers() {
    static std::set<TDosThread*> workers;
    return workers;
}

int openPidFd(qint64 pid) {
#ifdef SYS_pidfd_open
    return int(::syscall(SYS_pidfd_open, pid_t(pid), 0)); // close-on-exec by design
#else
    Q_UNUSED(pid);
    return -1;
#endif
}

// Asks the child of a run to end (SIGTERM) right away. Call with the run's mutex held.
void terminateChild(TDosRunLink& link) {
#ifdef SYS_pidfd_send_signal
    if (link.PidFd >= 0 && !link.Signalled)
        link.Signalled = ::syscall(SYS_pidfd_send_signal, link.PidFd, SIGTERM, nullptr, 0) == 0;
#else
    Q_UNUSED(link);
#endif
}

void detach(TDosRunLink& link) {
    link.Runner = nullptr;
    link.StopRequested = true;
    QMutexLocker locker(&link.Mutex);
    terminateChild(link);
    link.Detached = true;
    link.HandedOff.wakeAll();
}

QString applicationTitle() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QGuiApplication::applicationDisplayName();
    return QCoreApplication::applicationName();
}

} // namespace

quint32 ShowWindowValue(TShowWindow showWindow) {
    static constexpr quint32 values[] = {0, 3, 6, 9, 5, 10, 3, 2, 7, 8, 4, 1};
    return values[showWindow];
}

quint32 CreationFlagValue(TCreationFlag creationFlag) {
    static constexpr quint32 values[] = {0x4000000, 0x10, 0x200, 0x800, 0x1000, 0x4, 0x400, 0x1, 0x2, 0x8};
    return values[creationFlag];
}

// ---------------------------------------------------------------------------------------------------

TProcessTimer::TProcessTimer(QObject* owner)
    : QTimer(owner), FCounters(std::make_shared<TProcessCounters>()) {
    connect(this, &QTimer::timeout, this, [this] {
        ++FCounters->SinceBeginning;
        ++FCounters->SinceLastOutput;
    });
}

void TProcessTimer::StartCounting() {
    setInterval(1000);
    FCounters->SinceBeginning = 0;
    FCounters->SinceLastOutput = 0;
    start();
}

void TProcessTimer::StopCounting() {
    stop();
}

// ---------------------------------------------------------------------------------------------------

TDosThread::TDosThread(const TSettings& settings, std::shared_ptr<TDosRunLink> link,
                       std::shared_ptr<TProcessCounters> counters)
    : FSettings(settings), FLink(std::move(link)), FCounters(std::move(counters)) {
    connect(this, &QThread::finished, this, &QObject::deleteLater);
    QMutexLocker locker(&workersMutex());
    liveWorkers().insert(this);
}

TDosThread::~TDosThread() {
    QMutexLocker locker(&workersMutex());
    liveWorkers().erase(this);
}

void TDosThread::EndAllWorkers() {
    std::vector<TDosThread*> workers;
    {
        QMutexLocker locker(&workersMutex());
        workers.assign(liveWorkers().begin(), liveWorkers().end());
    }
    for (TDosThread* worker : workers)
        detach(*worker->FLink);
    for (TDosThread* worker : workers)
        worker->wait(TERMINATE_GRACE_MS + KILL_WAIT_MS);
}

bool TDosThread::TimedOut() const {
    return (FSettings.MaxTimeAfterBeginning > 0 &&
            FCounters->SinceBeginning.load() > FSettings.MaxTimeAfterBeginning) ||
           (FSettings.MaxTimeAfterLastOutput > 0 &&
            FCounters->SinceLastOutput.load() > FSettings.MaxTimeAfterLastOutput);
}

void TDosThread::run() {
    quint32 exitCode = DOS_COMMAND_NOT_STARTED;
    QString errorMessage;
    try {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        // Never an open pipe: a child that asks a question ("Overwrite? [y/N]") must fail, not hang.
        process.setStandardInputFile(QProcess::nullDevice());
        const QStringList argv = FSettings.Arguments.isEmpty()
                                     ? QProcess::splitCommand(QString::fromUtf8(FSettings.CommandLine))
                                     : FSettings.Arguments;
        if (!argv.isEmpty()) {
            process.setProgram(argv.first());
            process.setArguments(argv.mid(1));
            process.start(QIODevice::ReadOnly);
        }
        if (argv.isEmpty() || !process.waitForStarted(-1))
            throw TCreateProcessError(QString::fromUtf8(FSettings.CommandLine) +
                                      QStringLiteral(" doesn't exist."));
        exitCode = STILL_ACTIVE;
        const int pidFd = openPidFd(process.processId());
        const auto closePidFd = qScopeGuard([this, pidFd] {
            QMutexLocker locker(&FLink->Mutex);
            FLink->PidFd = -1;
            if (pidFd >= 0)
                ::close(pidFd);
        });
        {
            QMutexLocker locker(&FLink->Mutex);
            FLink->PidFd = pidFd;
        }
        const int pollMs = pidFd >= 0 ? POLL_MS : POLL_MS_WITHOUT_PIDFD;

        for (;;) {
            // The end is sampled before the pipe is read, so the loop leaves only after a read that
            // took everything the child wrote.
            const bool ended = process.state() == QProcess::NotRunning;
            if (!ended && !FLink->StopRequested)
                process.waitForReadyRead(pollMs);
            // One read takes everything that is waiting, also what arrives while it is being taken
            // (a fast child writes in small blocks), up to a bound that keeps the hand-offs short.
            QByteArray bytes = process.readAll();
            while (!ended && !bytes.isEmpty() && bytes.size() < MAX_READ && process.waitForReadyRead(0))
                bytes += process.readAll();
            if (!bytes.isEmpty()) {
                Split(bytes.constData(), bytes.size());
                HandOffLines();
            }
            if (ended) {
                QMutexLocker locker(&FLink->Mutex);
                if (FLink->Signalled)
                    exitCode = STILL_ACTIVE; // ended by a Stop
                else if (process.exitStatus() == QProcess::NormalExit)
                    exitCode = quint32(process.exitCode());
                else
                    exitCode = 128 + quint32(process.exitCode()); // died of a signal: never 0
                break;
            }
            if (FLink->StopRequested || TimedOut())
                break;
        }

        if (!FPendingLine.isEmpty()) {
            Deliver(FPendingLine, otBeginningOfLine);
            HandOffLines();
        }

        if (exitCode == STILL_ACTIVE && process.state() != QProcess::NotRunning) {
            // SIGTERM exactly once: ffmpeg takes a second one as "exit immediately" and then leaves
            // its output file without an index.
            {
                QMutexLocker locker(&FLink->Mutex);
                terminateChild(*FLink);
                if (!FLink->Signalled) {
                    process.terminate();
                    FLink->Signalled = true;
                }
            }
            if (!process.waitForFinished(TERMINATE_GRACE_MS)) {
                process.kill();
                process.waitForFinished(KILL_WAIT_MS);
            }
        }
    } catch (const TCreateProcessError& e) {
        errorMessage = e.message();
    } catch (...) {
        // Any other failure: the run still ends with its end event, and nothing is shown.
    }

    const std::shared_ptr<TDosRunLink> link = FLink;
    HandOff([link, exitCode] {
        TDosCommand* runner = link->Runner;
        if (!runner)
            return;
        if (runner->FLatest == link.get() && runner->FTimer)
            runner->FTimer->StopCounting();
        if (link->OnTerminated) {
            try {
                link->OnTerminated(runner, exitCode);
            } catch (...) {
            }
        }
        if (link->Runner) // the handler may have freed the runner
            link->Runner->RunEnded(link);
    });

    // The error box comes after the end event, on the main thread, and only while someone is there to
    // see it. It does not hold up the worker.
    if (!errorMessage.isEmpty() && !FLink->Detached && QCoreApplication::instance()) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [link, errorMessage] {
                if (link->Detached)
                    return;
                Dialogs().ShowMessage(nullptr, errorMessage, applicationTitle(), TDialogSeam::miCritical);
            },
            Qt::QueuedConnection);
    }
}

void TDosThread::Split(const char* data, qsizetype size) {
    if (FLink->StopRequested)
        return; // what a stopped child still writes is not delivered
    FBatch.reserve(FBatch.size() + 1 +
                   size_t(std::count_if(data, data + size, [](char c) { return c == '\n' || c == '\r'; })));
    QByteArray line = std::move(FPendingLine);
    FPendingLine = QByteArray();
    bool lastWasCR = false;
    qsizetype i = 0;
    while (i < size) {
        qsizetype j = i;
        while (j < size && data[j] != '\0' && data[j] != '\r' && data[j] != '\n')
            ++j;
        if (j > i) {
            line.append(data + i, j - i);
            lastWasCR = false;
            i = j;
            continue;
        }
        if (FLink->StopRequested)
            break;
        const char c = data[i];
        lastWasCR = c == '\r';
        if (c == '\0') {
            ++i;
        } else if (c == '\n' && i == 0 && FPreviousReadEndedWithCR) {
            ++i; // completes a CR LF pair split between two reads
        } else if (c == '\r' && i + 1 < size && data[i + 1] == '\n') {
            FReturnCode = rcCRLF;
            Deliver(std::exchange(line, QByteArray()), otEntireLine);
            lastWasCR = false;
            i += 2;
        } else {
            FReturnCode = rcLF;
            Deliver(std::exchange(line, QByteArray()), otEntireLine);
            ++i;
        }
    }
    FPreviousReadEndedWithCR = lastWasCR;
    FPendingLine = line;
    if (!line.isEmpty())
        Deliver(line, otBeginningOfLine);
}

void TDosThread::Deliver(QByteArray line, TOutputType type) {
    FBatch.push_back(TLine{std::move(line), type, FReturnCode});
}

void TDosThread::HandOffLines() {
    if (FBatch.empty())
        return;
    FCounters->SinceLastOutput = 0;
    const std::shared_ptr<TDosRunLink> link = FLink;
    auto batch = std::make_shared<std::vector<TLine>>(std::move(FBatch));
    FBatch = {};
    // One hand-off per read: the handlers still see one line at a time, in order, with
    // OutputReturnCode describing the line being handled.
    HandOff([link, batch] {
        for (const TLine& line : *batch) {
            TDosCommand* runner = link->Runner;
            if (!runner || link->StopRequested)
                return;
            runner->FOutputReturnCode = line.ReturnCode;
            if (link->OnNewLine) {
                try {
                    link->OnNewLine(runner, line.Text, line.Type);
                } catch (...) {
                }
            }
        }
    });
}

bool TDosThread::HandOff(std::function<void()> onMainThread) {
    QObject* mainContext = QCoreApplication::instance();
    quint64 ticket;
    {
        QMutexLocker locker(&FLink->Mutex);
        if (FLink->Detached || !mainContext)
            return false;
        ticket = ++FLink->Posted;
    }
    const std::shared_ptr<TDosRunLink> link = FLink;
    QMetaObject::invokeMethod(
        mainContext,
        [link, ticket, work = std::move(onMainThread)] {
            work();
            QMutexLocker locker(&link->Mutex);
            link->Done = ticket;
            link->HandedOff.wakeAll();
        },
        Qt::QueuedConnection);
    // Never wait for a main thread that has let go of this run: the runner's destruction wakes us.
    QMutexLocker locker(&FLink->Mutex);
    while (FLink->Done < ticket && !FLink->Detached)
        FLink->HandedOff.wait(&FLink->Mutex);
    return !FLink->Detached;
}

// ---------------------------------------------------------------------------------------------------

TDosCommand::TDosCommand(QObject* owner) : QObject(owner) {
    static const bool postRoutineAdded = [] {
        qAddPostRoutine(&TDosThread::EndAllWorkers);
        return true;
    }();
    Q_UNUSED(postRoutineAdded);
}

TDosCommand::~TDosCommand() {
    Stop();
    for (const std::shared_ptr<TDosRunLink>& link : FRuns)
        detach(*link);
    FRuns.clear();
    delete FTimer;
    FTimer = nullptr;
}

void TDosCommand::Execute() {
    if (CommandLine.isEmpty())
        return;
    Stop();
    if (!FTimer)
        FTimer = new TProcessTimer(this);

    auto link = std::make_shared<TDosRunLink>();
    link->Runner = this;
    link->OnNewLine = OnNewLine;
    link->OnTerminated = OnTerminated;
    FRuns.push_back(link);
    FCurrent = link;
    FLatest = link.get();

    TDosThread::TSettings settings;
    settings.CommandLine = CommandLine;
    settings.Arguments = Arguments;
    settings.MaxTimeAfterBeginning = MaxTimeAfterBeginning;
    settings.MaxTimeAfterLastOutput = MaxTimeAfterLastOutput;
    settings.ShowWindow = ShowWindow;
    settings.CreationFlag = CreationFlag;
    settings.PriorityClass = FPriorityClass;

    FTimer->StartCounting();
    auto* worker = new TDosThread(settings, link, FTimer->Counters());
    worker->start();
}

void TDosCommand::Stop() {
    if (!FCurrent)
        return;
    FCurrent->StopRequested = true;
    {
        QMutexLocker locker(&FCurrent->Mutex);
        terminateChild(*FCurrent);
    }
    FCurrent.reset();
}

void TDosCommand::RunEnded(const std::shared_ptr<TDosRunLink>& link) {
    if (FCurrent == link)
        FCurrent.reset();
    FRuns.erase(std::remove(FRuns.begin(), FRuns.end(), link), FRuns.end());
}

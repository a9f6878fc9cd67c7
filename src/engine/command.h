#pragma once

#include "engine/DosCommand.h"
#include "items/_consts.h"

#include <QByteArray>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>

class TVirtualStringTree;
struct TVirtualNode;

// The batch driver: converts the rows of the item list one after another, in list order, by running
// the encoder (bin/ffmpeg in the program's folder) once per row, records each row's result, reports
// progress, and animates the running row with a one-second timer. Everything runs on the main thread.
class TCommand {
public:
    // The encoder command of one item: the text shown to the user and the argument vector that
    // actually starts the encoder (no shell ever parses the text).
    struct TEncoderCommand {
        QByteArray CommandLine; // "%s" -i "%s" %s "%s": encoder, input, params, output
        QStringList Arguments;  // encoder, "-i", input, the words of params, output
    };
    static TEncoderCommand EncoderCommand(const QByteArray& encoder, const QByteArray& input,
                                          const QByteArray& params, const QByteArray& output);

    // The list control is not owned.
    explicit TCommand(TVirtualStringTree* tree);
    // Ends a run in progress: the encoder is stopped and no callback is raised afterwards.
    ~TCommand();

    // Converts every row from the first, whatever its status. Does nothing while a run is in
    // progress or when the list is empty.
    void Start();
    // Asks the running encoder to stop and returns at once; OnComplete follows when it has ended.
    void Stop();

    // True while no run is in progress and from the moment a stop is requested.
    bool Stopped() const { return FStopped; }
    // True only when no run is in progress at all: no encoder running and no OnComplete pending.
    // Everything that could delete or change the current row (Delete, Clear, Import, Properties,
    // the item menu) waits for this, not for Stopped.
    bool IsIdle() const { return !FRunInProgress; }
    // Position of the row being converted.
    qint32 CurrentIndex() const { return qint32(FCurrentIndex); }
    // Timer ticks since the current run began; 0 between runs.
    qint64 ElapsedSeconds() const { return FElapsedSeconds; }

    // Raised once per finished row with (row position + 1) * 100 div row count; the row's Status is
    // recorded right after it (and only when this is bound).
    std::function<void(TCommand* sender, quint32 percent)> OnProgress;
    // Raised once when a run ends: stopped is true when a stop ended it before its last row.
    std::function<void(TCommand* sender, bool stopped)> OnComplete;
    // Raised at every tick of the one-second timer during a run, after ElapsedSeconds has grown.
    std::function<void(TCommand* sender)> OnTimer;
    // Raised for every output line of the encoder; the second argument is always 0.
    std::function<void(TDosCommand* sender, qint32 zero)> OnOutputLine;

    // The one-second timer's work: advance the running row's busy bar (0..74, then 0 again),
    // repaint the row, count the second, raise OnTimer.
    void TimerTick();

    TDosCommand* Runner() const { return FRunner.get(); }
    QTimer* Timer() const { return FTimer.get(); }
    const QByteArray& EncoderPath() const { return FEncoderPath; }

private:
    void Launch();
    void ProcessEnded(quint32 exitCode);
    void Finish(bool stopped);

    std::unique_ptr<QTimer> FTimer;
    qint64 FElapsedSeconds = 0;
    bool FStopped = true;
    bool FRunInProgress = false;
    TVirtualStringTree* FTree;
    std::unique_ptr<TDosCommand> FRunner;
    QByteArray FEncoderPath;
    quint32 FCurrentIndex = 0;
    QByteArray FOutputFolder;
    QByteArray FOutputName;
    TVirtualNode* FCurrentNode = nullptr;
    TItemNodeData* FCurrentRecord = nullptr;
};

// The program's one batch driver; the controller sets it, the list manager reads it.
extern TCommand* BatchDriver;

#include "engine/command.h"

#include "engine/commandManager.h"
#include "engine/overwriteManager.h"
#include "platform/VirtualStringTree.h"
#include "platform/programFolder.h"

#include <QProcess>

TCommand* BatchDriver = nullptr;

TCommand::TEncoderCommand TCommand::EncoderCommand(const QByteArray& encoder, const QByteArray& input,
                                                   const QByteArray& params, const QByteArray& output) {
    TEncoderCommand command;
    command.CommandLine = '"' + encoder + "\" -i \"" + input + "\" " + params + " \"" + output + '"';
    command.Arguments << QString::fromUtf8(encoder) << QStringLiteral("-i") << QString::fromUtf8(input)
                      << QProcess::splitCommand(QString::fromUtf8(params)) << QString::fromUtf8(output);
    return command;
}

TCommand::TCommand(TVirtualStringTree* tree) : FTimer(std::make_unique<QTimer>()), FTree(tree) {
    FTimer->setInterval(1000);
    QObject::connect(FTimer.get(), &QTimer::timeout, FTimer.get(), [this] { TimerTick(); });
    FRunner = std::make_unique<TDosCommand>();
    FRunner->OnNewLine = [this](TDosCommand* sender, const QByteArray&, TOutputType) {
        if (OnOutputLine)
            OnOutputLine(sender, 0);
    };
    FRunner->OnTerminated = [this](TDosCommand*, quint32 exitCode) { ProcessEnded(exitCode); };
    FEncoderPath = (ProgramFolder() + QStringLiteral("bin/ffmpeg")).toUtf8();
    delete OverwriteManager;
    OverwriteManager = new TOverwriteManager;
}

TCommand::~TCommand() {
    delete OverwriteManager;
    OverwriteManager = nullptr;
    // The runner lets go of its run: the encoder is ended and nothing of it reaches this driver.
    FRunner.reset();
    // Also drops a pending end of a row that never started an encoder (it is queued on the timer).
    FTimer.reset();
    if (BatchDriver == this)
        BatchDriver = nullptr;
}

void TCommand::Start() {
    if (!IsIdle() || !FTree || !FTree->GetFirst())
        return;
    FCurrentNode = FTree->GetFirst();
    FCurrentRecord = FTree->GetNodeData(FCurrentNode);
    FCurrentIndex = FTree->Index(FCurrentNode);
    FTimer->start();
    FStopped = false;
    FRunInProgress = true;
    Launch();
}

void TCommand::Stop() {
    FStopped = true;
    FRunner->Stop();
}

void TCommand::Launch() {
    TItemData& item = FCurrentRecord->ItemData;

    FOutputFolder = item.OutputFolder.toUtf8();
    if (FOutputFolder.isEmpty())
        FOutputFolder = (ProgramFolder() + QStringLiteral("convert/")).toUtf8();

    const bool knownFormat = CommandManager && CommandManager->IsValidIndex(item.FormatIndex);
    const QByteArray input = item.FileName.toUtf8();
    FOutputName = input.mid(input.lastIndexOf('/') + 1);
    const qsizetype dot = FOutputName.lastIndexOf('.');
    if (dot >= 0)
        FOutputName.truncate(dot);
    FOutputName += '.' + (knownFormat ? CommandManager->GetExt(item.FormatIndex) : QByteArray());

    FCurrentRecord->Status = stConverting;
    item.Running = true;
    FTree->InvalidateNode(FCurrentNode);
    FTree->setFocus();
    FTree->Selected(FCurrentNode, true);

    if (!knownFormat) {
        // A row whose format is not in the catalogue (an imported list written against another
        // catalogue, or one added while the catalogue was empty) fails without running the encoder.
        // Its end comes from the event loop, like an encoder's, so a long list of such rows never
        // nests calls.
        QMetaObject::invokeMethod(
            FTimer.get(), [this] { ProcessEnded(DOS_COMMAND_NOT_STARTED); }, Qt::QueuedConnection);
        return;
    }

    const TEncoderCommand command =
        EncoderCommand(FEncoderPath, input, CommandManager->GetParams(item.FormatIndex),
                       OverwriteManager->UniqueName(FOutputFolder + FOutputName));
    FRunner->CommandLine = command.CommandLine;
    FRunner->Arguments = command.Arguments;
    FRunner->Execute();
}

void TCommand::ProcessEnded(quint32 exitCode) {
    const quint32 total = FTree->TotalCount();
    if (OnProgress) {
        OnProgress(this, total == 0 ? 100u : (FCurrentIndex + 1u) * 100u / total);
        FCurrentRecord->Status = exitCode == 0 ? stConverted : stFailed;
        FTree->InvalidateNode(FCurrentNode);
    }
    FRunner->Stop();
    if (FCurrentIndex + 1u >= total) {
        Finish(false);
        return;
    }
    if (!FStopped) {
        FCurrentRecord->ItemData.Running = false;
        FCurrentRecord->ItemData.AnimationStep = 0;
        FCurrentNode = FTree->GetNextSibling(FCurrentNode);
        FCurrentRecord = FTree->GetNodeData(FCurrentNode);
        FCurrentIndex = FTree->Index(FCurrentNode);
        Launch();
    }
    if (FCurrentIndex + 1u < total && FStopped)
        Finish(true);
}

void TCommand::Finish(bool stopped) {
    FCurrentRecord->ItemData.Running = false;
    FCurrentRecord->ItemData.AnimationStep = 0;
    FCurrentIndex = 0;
    FTimer->stop();
    FStopped = true;
    FElapsedSeconds = 0;
    FTree->InvalidateNode(FCurrentNode);
    FCurrentNode = nullptr;
    FCurrentRecord = nullptr;
    FRunInProgress = false;
    if (OnComplete)
        OnComplete(this, stopped);
}

void TCommand::TimerTick() {
    if (FCurrentRecord) {
        quint32& step = FCurrentRecord->ItemData.AnimationStep;
        step = step >= 74 ? 0 : step + 1;
        FTree->InvalidateNode(FCurrentNode);
    }
    ++FElapsedSeconds;
    if (OnTimer)
        OnTimer(this);
}

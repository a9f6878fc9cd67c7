#pragma once

#include "engine/commandManager.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// Installs a format catalogue with the given names as the program's CommandManager for the life
// of the fixture.
class TCatalogueFixture {
public:
    explicit TCatalogueFixture(const QStringList& names) {
        QByteArray xml = "<?xml version=\"1.0\"?>\r\n<formats>\r\n";
        for (const QString& name : names)
            xml += "<entry><format>" + name.toUtf8() +
                   "</format><params>-nostdin -n</params><ext>mp4</ext>"
                   "</entry>\r\n";
        xml += "</formats>\r\n";
        const QString path = dir_.filePath("command");
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(xml);
        file.close();
        catalogue_ = std::make_unique<TCommandManager>(path);
        previous_ = CommandManager;
        CommandManager = catalogue_.get();
    }
    ~TCatalogueFixture() { CommandManager = previous_; }
    TCatalogueFixture(const TCatalogueFixture&) = delete;
    TCatalogueFixture& operator=(const TCatalogueFixture&) = delete;

private:
    QTemporaryDir dir_;
    std::unique_ptr<TCommandManager> catalogue_;
    TCommandManager* previous_ = nullptr;
};

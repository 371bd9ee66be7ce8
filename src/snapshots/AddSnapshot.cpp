#include "snapshots/AddSnapshot.h"

#include "core/Prompts.h"
#include "snapshots/FolderBrowser.h"
#include "snapshots/SnapshotGrid.h"
#include "snapshots/SnapshotTable.h"

#include <QDir>
#include <QFile>

namespace tessel {

int nameLength(const QString& name)
{
    int characters = 0;
    for (int i = 0; i < name.size(); ++i) {
        if (name.at(i).isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate())
            ++i;
        ++characters;
    }
    return characters;
}

QString nameLeft(const QString& name, int characters)
{
    int i = 0;
    for (int taken = 0; taken < characters && i < name.size(); ++taken) {
        if (name.at(i).isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate())
            ++i;
        ++i;
    }
    return name.left(i);
}

QString defaultName(int number)
{
    return QStringLiteral("Snapshot  %1").arg(number);
}

namespace {

void warn(Prompts& prompts, const QString& text)
{
    prompts.message(text, kAppTitle, Icon::Exclamation, Buttons::Ok);
}

// Asks until a name of 1 to 20 characters is given: Cancel and an empty
// answer offer the default name again, a long answer comes back cut.
QString askName(Prompts& prompts, const QString& path, int number)
{
    const QString prompt = QStringLiteral("Type the name for the menu (Max. 20 chars) ") + path;
    QString offered = defaultName(number);
    for (;;) {
        QString answer = prompts.input(prompt, kAppTitle, offered);
        const int length = nameLength(answer);
        if (length == 0)
            offered = defaultName(number);
        else if (length > kMaxNameLength)
            offered = nameLeft(answer, kMaxNameLength);
        else
            return answer;
    }
}

} // namespace

void AgregarSnaps(FolderBrowser& browser, SnapshotTable& table, SnapshotGrid& grid,
                  Prompts& prompts)
{
    if (table.NumSnaps >= kMaxSnaps) {
        warn(prompts,
             QStringLiteral("The compilation is complete. It's not posible to add more SNA's."));
        return;
    }

    const int count = browser.listCount();
    for (int i = 0; i < count; ++i) {
        if (!browser.isSelected(i))
            continue;
        QString error;
        const std::optional<QString> listed = browser.filePath(i, &error);
        if (!listed) {
            warn(prompts, error);
            browser.setSelected(i, false);
            return;
        }
        const QString& path = *listed;

        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            warn(prompts,
                 QStringLiteral("The file %1 cannot be opened: %2.").arg(path, file.errorString()));
            browser.setSelected(i, false);
            return;
        }
        const qint64 length = file.size();
        if (length != kSnapshotSize) {
            warn(prompts, QStringLiteral("The selected file is not a valid SNA snapshot."));
            file.close();
            browser.setSelected(i, false);
            return;
        }
        file.close();

        const QString name = askName(prompts, path, table.NumSnaps + 1);
        const int row = table.NumSnaps;
        table.TablaSnaps[row][kColName] = name;
        grid.setTextMatrix(row + 1, kColName, table.TablaSnaps[row][kColName]);
        table.TablaSnaps[row][kColPath] = path;
        grid.setTextMatrix(row + 1, kColPath, table.TablaSnaps[row][kColPath]);
        table.NumSnaps = static_cast<qint16>(table.NumSnaps + 1);
        browser.setSelected(i, false);
    }
}

} // namespace tessel

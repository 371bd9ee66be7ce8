// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace tessel {

// What a file being written may replace.
struct OutputRules
{
    // Files the output must never replace, by identity on disk, whatever the
    // spelling or link that names them. The running program always counts.
    QStringList inputs;
    // A link standing at the name is written through to the file it names.
    // Only for the program's own files, where a link is the user's doing;
    // a name the user gave is never a link followed or replaced.
    bool followLink = false;
};

// Checks that `path` may be written under the rules: a name was given and
// it names what the system will write (not a name with undecodable bytes
// replaced), its folder exists, and what stands there now is nothing or a
// regular file that is no input and, unless followLink, no link. The
// message names the file and why not.
bool checkOutputFile(const QString& path, const OutputRules& rules, QString* error);

// The one way every file is written. Bytes go to a file without a name in
// the target's folder; commit() checks that every byte reached the disk,
// and only then gives it the target's name, replacing the old file in one
// step and flushing the folder so that the new name survives a power cut.
// Until then, and on any failure or when destroyed uncommitted, the target
// keeps every byte it had and nothing else is left behind.
class DurableFile
{
public:
    explicit DurableFile(const QString& path, const OutputRules& rules = {});
    ~DurableFile();
    DurableFile(const DurableFile&) = delete;
    DurableFile& operator=(const DurableFile&) = delete;

    QString path() const { return m_path; }

    bool open(QString* error);
    // For writers that stream or seek (the image, a picture). Its writes
    // are checked again by commit().
    QIODevice& device() { return *m_device; }
    bool write(QByteArrayView bytes, QString* error);
    // The new file's permissions; by default those of the file it replaces,
    // or the usual ones for a new file.
    void setPermissions(QFileDevice::Permissions permissions);
    bool commit(QString* error);
    // Commits files as one: each is checked and on the disk before any
    // takes its name, and then all take them in a moment nothing but a
    // power cut or a kill that cannot be held off can split. When one
    // cannot take its name, every old file is put back and every new one
    // removed: the error then says that nothing was changed.
    static bool commitAll(const std::vector<std::unique_ptr<DurableFile>>& files, QString* error);
    // Why a write to device() fell short, in a sentence naming the file: a
    // write cut short by a full disk or a size limit sets no error on it.
    QString writeFailure();
    QString notOpened() const;

private:
    bool failed(QString* error, const QString& reason);
    bool finish(QString* error); // every byte on the disk, still without a name
    bool link(QString* error); // the name given, the old file replaced

    QString m_path;
    OutputRules m_rules;
    QString m_target; // m_path, or where the followed link leads
    QFile m_file;
    QFileDevice* m_device = &m_file;
    QFileDevice::Permissions m_permissions;
    bool m_setPermissions = false;
    bool m_finished = false;
    bool m_committed = false;
    struct Native;
    std::unique_ptr<Native> m_native;
};

// A whole file written through DurableFile.
bool writeDurably(const QString& path, QByteArrayView bytes, const OutputRules& rules,
                  QString* error);

} // namespace tessel

#pragma once

#include <QString>

#include <optional>

namespace tessel {

enum class Icon { None, Information, Exclamation, Critical };
enum class Buttons { Ok, OkCancel, YesNo };
enum class Answer { Ok, Cancel, Yes, No };

// The save dialog's options, as the export sets them before each show.
struct SaveRequest
{
    QString title;
    bool overwritePrompt = true;
    QString initialFolder;
    QString defaultExtension;
};

// Every question the program asks the user goes through here, so that tests
// can answer them from a script and read back what was asked. Texts keep the
// lone carriage return (code 13) between lines; a front end shows it as a
// line break. The first button of a set is the default one.
class Prompts
{
public:
    virtual ~Prompts() = default;

    virtual Answer message(const QString& text, const QString& title, Icon icon,
                           Buttons buttons) = 0;
    // Returns the typed text; Cancel gives the empty text.
    virtual QString input(const QString& prompt, const QString& title,
                          const QString& defaultText) = 0;
    // Returns the chosen full path, or nothing when the user cancelled.
    virtual std::optional<QString> saveFileName(const SaveRequest& request) = 0;
};

// The title of every message unless a command says otherwise.
inline const QString kAppTitle = QStringLiteral("Tessel Zizerev");

} // namespace tessel

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/Prompts.h"

#include <QDialog>

class QDialogButtonBox;
class QFrame;
class QLabel;
class QLineEdit;
class QScrollArea;

namespace tessel {

class ScreenCache;
class ScreenView;

// Asks for a menu name: the caller's prompt, wrapped so that a long path
// never makes the box wider than the screen; the name field with the offered
// name selected; the hint lines under it, telling which typed characters the
// Spectrum shows differently and what the snapshot was saved with that the
// cartridge lacks; and, given the snapshot, the screen it holds beside the
// prompt, so the user names what they see.
class NamingDialog final : public QDialog
{
    Q_OBJECT

public:
    // `note` may be empty. With Buttons::OkSkipStop the box offers Skip and
    // Stop in place of Cancel; otherwise OK and Cancel.
    NamingDialog(const QString& title, const QString& prompt, const QString& name,
                 const QString& note = {}, Buttons buttons = Buttons::OkCancel,
                 QWidget* parent = nullptr);

    // Shows the snapshot's screen beside the prompt, once the cache has it;
    // the room for it is taken at once, so the box keeps its size. On a
    // screen too narrow for picture and text the picture is left out.
    void showScreenOf(ScreenCache& cache, const QString& snapshotPath);

    QString name() const;
    // The button the box was closed with: Ok, or Cancel, Skip or Stop
    // (closing it otherwise counts as Cancel, or Stop where Stop is offered).
    Answer answer() const { return result() == Accepted ? Answer::Ok : m_answer; }
    QLineEdit* nameField() const { return m_field; }
    QLabel* promptLabel() const { return m_prompt; }
    QLabel* hintLabel() const { return m_hint; }
    QLabel* noteLabel() const { return m_note; }
    ScreenView* screenView() const { return m_screen; }

private:
    void updateHint();

    QLabel* m_prompt = nullptr;
    QScrollArea* m_promptArea = nullptr;
    QLineEdit* m_field = nullptr;
    QLabel* m_hint = nullptr;
    QLabel* m_note = nullptr;
    QFrame* m_screenFrame = nullptr;
    ScreenView* m_screen = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    QString m_snapshotPath;
    bool m_roomForScreen = true;
    Answer m_answer = Answer::Cancel; // when not accepted
};

// The text with a break allowed after every folder separator, and inside
// any run of characters too long to fit a line, so that word wrapping can
// always keep it within its width.
QString breakableText(const QString& text);

} // namespace tessel

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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
// name selected; one line under it telling which typed characters the
// Spectrum shows differently; and, given the snapshot, the screen it holds
// beside the prompt, so the user names what they see.
class NamingDialog final : public QDialog
{
    Q_OBJECT

public:
    NamingDialog(const QString& title, const QString& prompt, const QString& name,
                 QWidget* parent = nullptr);

    // Shows the snapshot's screen beside the prompt, once the cache has it;
    // the room for it is taken at once, so the box keeps its size. On a
    // screen too narrow for picture and text the picture is left out.
    void showScreenOf(ScreenCache& cache, const QString& snapshotPath);

    QString name() const;
    QLineEdit* nameField() const { return m_field; }
    QLabel* promptLabel() const { return m_prompt; }
    QLabel* hintLabel() const { return m_hint; }
    ScreenView* screenView() const { return m_screen; }

private:
    void updateHint();

    QLabel* m_prompt = nullptr;
    QScrollArea* m_promptArea = nullptr;
    QLineEdit* m_field = nullptr;
    QLabel* m_hint = nullptr;
    QFrame* m_screenFrame = nullptr;
    ScreenView* m_screen = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    QString m_snapshotPath;
    bool m_roomForScreen = true;
};

// The text with a break allowed after every folder separator, and inside
// any run of characters too long to fit a line, so that word wrapping can
// always keep it within its width.
QString breakableText(const QString& text);

} // namespace tessel

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screens/ScreenImage.h"

#include <QFrame>
#include <QList>
#include <QPixmap>
#include <QTimer>

#include <array>
#include <optional>

class QLabel;

namespace tessel {

// A loading screen drawn at a whole scale inside its border colour, FLASH
// alternating every 16 frames of 50 Hz while the view is shown. Without a
// screen it keeps its size and draws nothing.
class ScreenView final : public QWidget
{
    Q_OBJECT

public:
    // The border each side, at scale 1.
    static constexpr int kBorder = 12;
    static constexpr int kFlashMilliseconds = 320;

    explicit ScreenView(int scale = 1, QWidget* parent = nullptr);

    void setScreen(const std::optional<LoadingScreen>& screen);
    bool hasScreen() const { return !m_frames[0].isNull(); }
    void setScale(int scale);
    int scale() const { return m_scale; }
    // 0 while INK is drawn as INK, 1 while FLASH cells are swapped.
    int flashPhase() const { return m_phase; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void updateTimer();

    int m_scale;
    std::array<QPixmap, 2> m_frames;
    QColor m_border;
    int m_phase = 0;
    QTimer m_flash;
};

// Where a preview of a list's item goes, in global coordinates: beside the
// window, at twice the size or else once, on the side with room on the
// screen, level with the list; failing that, once, beside the list itself,
// slid along its side past whatever is in the way. Never over `list` (the
// list being browsed, with its rows and the pointer) nor over `others` (the
// window's other lists), and never off the screen; nothing when no place is
// left.
struct PreviewPlace
{
    QPoint at;
    int scale = 1;
};
std::optional<PreviewPlace> placePreview(QSize twice, QSize once, const QRect& list,
                                         const QList<QRect>& others, const QRect& window,
                                         const QRect& screen);

// The line a preview shows under the screen of a snapshot the cartridge
// cannot take for its machine; empty for any other.
QString otherMachineNote(const LoadingScreen& screen);

// The pop-up beside a list: a file's or a row's screen framed by the border
// colour, the file name under it, and a warning line for a snapshot of
// another machine. It never takes the focus or the pointer's events, and
// stays on the screen it is shown on.
class ScreenPreview final : public QFrame
{
    Q_OBJECT

public:
    explicit ScreenPreview(QWidget* parent = nullptr);

    // Shows the screen where placePreview() puts it; hides it where there is
    // no such place.
    void showBeside(const LoadingScreen& screen, const QString& fileName, const QRect& list,
                    const QList<QRect>& others, const QRect& window);
    ScreenView* view() const { return m_view; }
    QString fileName() const { return m_fileName; }
    QLabel* noteLabel() const { return m_note; }

private:
    void setScale(int scale);

    ScreenView* m_view = nullptr;
    QLabel* m_name = nullptr;
    QLabel* m_note = nullptr;
    QString m_fileName;
};

// Frames a picture as the pop-ups are framed.
void frameLikePreview(QFrame& frame);

} // namespace tessel

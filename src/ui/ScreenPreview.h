// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screens/ScreenImage.h"

#include <QFrame>
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

// The pop-up beside a file or a row: its screen at twice the size (once on
// a screen too small for that), framed by the border colour, the file name
// under it. It never takes the focus or the pointer's events, and stays on
// the screen it is shown on.
class ScreenPreview final : public QFrame
{
    Q_OBJECT

public:
    explicit ScreenPreview(QWidget* parent = nullptr);

    // Shows the screen beside the area (global coordinates): to its right if
    // it fits, else to its left, top edges level, moved onto the screen.
    void showBeside(const LoadingScreen& screen, const QString& fileName, const QRect& area);
    ScreenView* view() const { return m_view; }
    QString fileName() const { return m_fileName; }

private:
    ScreenView* m_view = nullptr;
    QLabel* m_name = nullptr;
    QString m_fileName;
};

} // namespace tessel

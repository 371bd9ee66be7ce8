// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/Prompts.h"

#include <QPointer>
#include <QWidget>

namespace tessel {

// The questions as Qt's modal dialogs, over the window given as parent.
class ScreenCache;

class QtPrompts final : public Prompts
{
public:
    void setParentWidget(QWidget* parent) { m_parent = parent; }
    // Where the naming box gets the picture of the snapshot being named.
    void setScreenCache(ScreenCache* cache) { m_screens = cache; }

    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons) override;
    InputAnswer input(const InputRequest& request) override;
    std::optional<QString> saveFileName(const SaveRequest& request) override;
    std::optional<QString> openFileName(const OpenRequest& request) override;
    std::optional<QString> folderName(const FolderRequest& request) override;
    bool runWithProgress(const ProgressRequest& request,
                         const std::function<void(Progress&)>& job) override;

private:
    QPointer<QWidget> m_parent;
    ScreenCache* m_screens = nullptr;
};

} // namespace tessel

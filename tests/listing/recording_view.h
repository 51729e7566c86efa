#pragma once

#include "listing/messages.h"
#include "listing/view_state.h"

#include <string>
#include <vector>

// Keeps what the scan last reported, and the order in which it reported it.
class RecordingView : public listing::ViewState {
public:
    std::vector<std::string> calls;
    std::vector<std::string> gone; // the files the last scan left out as gone

    void fileGone(std::string_view nativeName) override { gone.emplace_back(nativeName); }

    void setStatusText(const std::string &text) override
    {
        if (text == listing::messages::searching())
            gone.clear();
        calls.push_back("status");
        ViewState::setStatusText(text);
    }
    void setBusyCursor(bool value) override
    {
        calls.push_back(value ? "busy" : "idle");
        ViewState::setBusyCursor(value);
    }
    void setTableVisible(bool visible) override
    {
        calls.push_back(visible ? "showTable" : "hideTable");
        ViewState::setTableVisible(visible);
    }
    void setContentPaneVisible(bool visible) override
    {
        calls.push_back(visible ? "showPane" : "hidePane");
        ViewState::setContentPaneVisible(visible);
    }
    void setDeleteCommandsEnabled(bool enabled) override
    {
        calls.push_back(enabled ? "enableDelete" : "disableDelete");
        ViewState::setDeleteCommandsEnabled(enabled);
    }
    void setCaption(const std::string &text) override
    {
        calls.push_back("caption");
        ViewState::setCaption(text);
    }
    void setFolderText(const std::string &text) override
    {
        calls.push_back("folder");
        ViewState::setFolderText(text);
    }
    void setSearchModeLabel(const std::string &text) override
    {
        calls.push_back("label");
        ViewState::setSearchModeLabel(text);
    }
    void setClearSearchEnabled(bool enabled) override
    {
        calls.push_back(enabled ? "enableClear" : "disableClear");
        ViewState::setClearSearchEnabled(enabled);
    }
    void tableChanged() override
    {
        calls.push_back("tableChanged");
        ViewState::tableChanged();
    }
};

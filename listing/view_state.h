#pragma once

#include "listing_view.h"

#include <string>

namespace listing {

// A view without a window: keeps what the scan last reported. The headless
// scanner uses it, and tests build on it.
class ViewState : public ListingView {
public:
    explicit ViewState(int pointSize = 9) : m_pointSize(pointSize) {}

    std::string statusText;
    std::string caption;
    std::string folderText;
    std::string searchModeLabel;
    bool busy = false;
    bool tableVisible = true;
    bool contentPaneVisible = true;
    bool deleteCommandsEnabled = false;
    bool clearSearchEnabled = false;
    int tableChanges = 0;

    void setStatusText(const std::string &text) override { statusText = text; }
    void setBusyCursor(bool value) override { busy = value; }
    void setTableVisible(bool visible) override { tableVisible = visible; }
    void setContentPaneVisible(bool visible) override { contentPaneVisible = visible; }
    void setDeleteCommandsEnabled(bool enabled) override { deleteCommandsEnabled = enabled; }
    void setCaption(const std::string &text) override { caption = text; }
    void setFolderText(const std::string &text) override { folderText = text; }
    void setSearchModeLabel(const std::string &text) override { searchModeLabel = text; }
    void setClearSearchEnabled(bool enabled) override { clearSearchEnabled = enabled; }
    void tableChanged() override { ++tableChanges; }
    int tableFontPointSize() const override { return m_pointSize; }

private:
    int m_pointSize;
};

} // namespace listing

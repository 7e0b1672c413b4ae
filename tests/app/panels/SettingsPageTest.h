// Fixture of the tests of the configuration tree's device sections: the Settings page following
// the model as the main window makes it follow, over the test sensor's configuration.
#pragma once

#include "MsgManager.h"
#include "PanelsTestSupport.h"
#include "WidgetSettings.h"

class SettingsPageTest : public PanelTest
{
protected:
    void TearDown() override
    {
        page.reset();
        sensor().setLocked(false);
        PanelTest::TearDown();
    }

    // Connects with that configuration, locked through us or not, and fills the page, which
    // then fills again on every configuration the model keeps.
    void start(const fybsim::Element &config, bool locked = false)
    {
        server.setConfig(config);
        ASSERT_NO_FATAL_FAILURE(connectModel());
        sensor().setLocked(locked);
        page = std::make_unique<WidgetSettings>();
        QObject::connect(model(), &Model::signalConfigReceived, page.get(), [this] {
            page->reload();
            if (MsgManager::runningRequests() > 0)
                ++refillsDuringRequests;
        });
        page->reload();
    }
    QTreeWidget &tree() const { return *page->tree(); }

    std::unique_ptr<WidgetSettings> page;
    // Fills while a request of the tree waited for its answer.
    int refillsDuringRequests = 0;
};

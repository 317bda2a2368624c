#pragma once
// The test-pattern page (page 16), opened from the settings menu.
#include "ui/frame/servicepage.h"

class test_chart : public ServicePage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_TEST_CHART;
    explicit test_chart(QWidget* parent = nullptr);

public slots:
    // Leaving the page takes the test pattern off the screen.
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
};

inline test_chart* g_test_chart() {
    return pages::get<test_chart>();
}

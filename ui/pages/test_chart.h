#pragma once
// The test-pattern page (page 16), opened from the settings menu.
#include "ui/pages/servicepage.h"

namespace Ui {
class test_chart;
}

class test_chart : public ServicePage<Ui::test_chart> {
    Q_OBJECT
public:
    explicit test_chart(QWidget* parent = nullptr);

public slots:
    // Leaving the page takes the test pattern off the screen.
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
};

inline test_chart* g_test_chart() {
    return pages::get<test_chart>(PAGE_TEST_CHART);
}

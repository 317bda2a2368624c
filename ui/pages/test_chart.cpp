#include "ui/pages/test_chart.h"

#include "core/para_write.h"

namespace {
const Text5 kTitle = {"测试画面", "Test pattern", "Тестовый шаблон", "Mẫu kiểm tra", "測試畫面"};
}

test_chart::test_chart(QWidget* parent) : ServicePage(kTitle, parent) {}

void test_chart::slot_Button_back_clicked() {
    para_write([](RynRamPara& p) { p.RamParaBlock[blk::TEST_PATTERN] = 0; });
    close_page();
}

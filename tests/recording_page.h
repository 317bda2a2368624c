#pragma once
// A stand-in page for the dispatcher: registered under a page id, it
// records every refresh.
#include "ui/frame/pageframe.h"

#include <QWidget>
#include <vector>

class RecordingPage : public RynPage {
public:
    explicit RecordingPage(int id) { pages::set(id, this, PAGE_MAINWINDOW); }
    ~RecordingPage() override { pages::forget(this); }
    QWidget* page_widget() override { return &widget; }
    void language_changed() override {}
    void syncUpdate(int code) override { codes.push_back(code); }

    QWidget widget;
    std::vector<int> codes;
};

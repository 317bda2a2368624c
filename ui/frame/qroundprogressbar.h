#pragma once
// The round progress indicator of a running receiving-card job: a ring
// filled clockwise with the percentage in its middle. At most one exists,
// named by g_qround_bar.
#include <QWidget>

class QDialog;

class QRoundProgressBar : public QWidget {
    Q_OBJECT
public:
    enum BarStyle { StyleRing = 0, StyleSector = 1, StyleOutline = 2 };

    QRoundProgressBar(QWidget* parent, BarStyle style);
    ~QRoundProgressBar() override;

    // Makes the one bar over `page` (x 120, y 70, 100 x 100, value 0);
    // nothing while a bar exists.
    static void create_qround_bar(QDialog* page);

    double getMinimum() const { return minimum; }
    double getMaximum() const { return maximum; }
    double getValue() const { return value; }
    BarStyle getBarStyle() const { return bar_style; }
    int getDecimals() const { return decimals; }

    void setStartAngle(double angle);
    void setOutlinePenWidth(double width);
    void setDataPenWidth(double width);
    void setBarStyle(BarStyle style);
    void setDecimals(int count);
    void setRange(double a, double b);
    void setMinimum(double m) { setRange(m, maximum); }
    void setMaximum(double m) { setRange(minimum, m); }
    void setValue(double v);
    void setValue(int v) { setValue(double(v)); }

    // The text drawn in the middle ("50%").
    QString percent_text() const;

public slots:
    // A job's progress: moves the bar in g_qround_bar, whichever bar got the
    // call; above 99 hides it and clears g_qround_bar.
    void para_sync(int percent);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    // Stores a changed value and repaints; an equal one changes nothing.
    template <class T> void change(T& member, T v) {
        if (v != member) {
            member = v;
            update();
        }
    }
    // The arc of the value in degrees; 0 for an empty range.
    double arc_degrees() const;

    double minimum = 0;
    double maximum = 100;
    double value = 0;
    BarStyle bar_style;
    int decimals = 0;
    double start_angle = 90;
    double outline_pen_width = 0;
    double data_pen_width = 0;
};

#pragma once

#include <QFont>
#include <QString>
#include <QStringView>
#include <QWidget>

#include <vector>

#include "app/printruns.h"
#include "printout/workedform.h"

namespace app {

// The area of the main window on which the worked form is printed. It lies
// beneath every control of the window; its top edge is where the first line
// of the form starts. It keeps the latest form so it can redraw it whenever
// it is uncovered. To assistive technology it is a read-only multi-line
// text named "Worked form" that holds the printed lines.
class Surface final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(Surface)

  public:
    // A run as it is painted: its baseline origin in surface pixels.
    using PlacedRun = app::PlacedRun;

    explicit Surface(QWidget* parent = nullptr);

    // Replaces whatever was printed by form. description says, for
    // assistive technology, what printed it.
    void showForm(printout::WorkedForm form, const QString& description = QString());
    // Erases the printout.
    void clear();

    const printout::WorkedForm& form() const { return form_; }
    bool isEmpty() const { return form_.lines.empty(); }
    // The printed lines as plain text, trailing blanks trimmed, each line
    // followed by lineEnd; empty when nothing is printed.
    QString plainText(QStringView lineEnd) const;
    // The printed lines joined by "\n", as assistive technology reads them.
    const QString& text() const { return text_; }
    const std::vector<PlacedRun>& placedRuns() const { return placed_; }

    // The printout font: the widget's font (the window's size) in
    // "Courier New", or Liberation Mono, which has its metrics, where the
    // desktop has no Courier New.
    const QFont& printFont(bool bold = false) const { return fonts_.face(bold); }
    // Width of one character column and height of one printed line, pixels.
    double columnWidth() const;
    double lineHeight() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void placeRuns();
    // Tells assistive technology that the text went from before to text_.
    void announceText(const QString& before);

    printout::WorkedForm form_;
    QString text_;
    std::vector<PlacedRun> placed_;
    PrintFonts fonts_;
};

} // namespace app

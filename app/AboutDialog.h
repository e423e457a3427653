#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class AboutDialog;
}

// The modal "O Aplikaci Quarnex II" box: version, credits and the maker,
// with the two sides' icons. It changes nothing; the game runs on behind it.
class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(QWidget* parent);
    ~AboutDialog() override;

  private:
    std::unique_ptr<Ui::AboutDialog> ui;
};

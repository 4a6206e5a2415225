#pragma once
// The About form: the program's icon, name, version and legal notice, and the maker's lines
// with two links (web and e-mail) that light up under the pointer.
#include <QDialog>
#include <QLabel>
#include <QString>
#include <cstdint>
#include <functional>

class TPanel;

// "Версия 1.07": the minor number with at least two digits.
QString VersionText(std::uint32_t major, std::uint32_t minor);

// A label that acts as a link: blue and underlined under the pointer.
class TLinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit TLinkLabel(QWidget* parent = nullptr);
    std::function<void()> OnClick;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setLook(const QColor& color, bool underline);
};

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* owner = nullptr);

    QWidget* IconBox = nullptr;
    QLabel* ProductNameLabel = nullptr;
    QLabel* VersionNumberLabel = nullptr;
    TPanel* AboutPanel = nullptr;
    QLabel* LegalNoticeLabel = nullptr;
    TLinkLabel* ZunorLabel = nullptr;
    TLinkLabel* EMLabel = nullptr;

    void LabelClick(QLabel* label);
    void EMLabelClick();
};

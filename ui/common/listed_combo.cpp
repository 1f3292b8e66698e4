#include "ui/common/listed_combo.h"

#include <QComboBox>
#include <QProxyStyle>

namespace kestrin {
namespace {

/// The application's style, except that drop-downs open as plain lists.
class ListedDropDownStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ComboBox_Popup) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

void LimitVisibleEntries(QComboBox* combo, int entries) {
    combo->setMaxVisibleItems(entries);
    // A widget does not own its style: the combo box owns it as a child instead.
    auto* style = new ListedDropDownStyle;
    style->setParent(combo);
    combo->setStyle(style);
}

}  // namespace kestrin

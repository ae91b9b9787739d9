// SPDX-License-Identifier: MIT
#pragma once

#include <QCheckBox>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <type_traits>

namespace sceneshifter {

// A check box or option button whose caption wraps onto a second line when
// it is wider than the control, as the window's fixed layout needs.
template <class Base>
class WrappingButton : public Base {
 public:
  using Base::Base;

 protected:
  void paintEvent(QPaintEvent*) override {
    constexpr bool radio = std::is_same_v<Base, QRadioButton>;
    QStylePainter p(this);
    QStyleOptionButton opt;
    this->initStyleOption(&opt);
    const QString caption = opt.text;
    opt.text.clear();
    p.drawControl(radio ? QStyle::CE_RadioButton : QStyle::CE_CheckBox, opt);
    opt.text = caption;
    const QRect textRect = this->style()->subElementRect(
        radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents,
        &opt, this);
    this->style()->drawItemText(&p, textRect.intersected(this->rect()),
                                Qt::AlignLeft | Qt::AlignVCenter |
                                    Qt::TextWordWrap | Qt::TextShowMnemonic,
                                opt.palette, this->isEnabled(), caption,
                                QPalette::WindowText);
    // The style frames the caption it drew; this one is drawn here, so is
    // its focus frame.
    if (this->hasFocus()) {
      QStyleOptionFocusRect focus;
      focus.initFrom(this);
      focus.rect = textRect.intersected(this->rect());
      focus.backgroundColor = opt.palette.color(QPalette::Window);
      p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
  }
};

using WrappingCheckBox = WrappingButton<QCheckBox>;
using WrappingRadioButton = WrappingButton<QRadioButton>;

}  // namespace sceneshifter

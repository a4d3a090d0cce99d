// One parcel's recipient texts: what recognition finds, the recipient boxes
// show, a waybill prints, the log keeps and the history lists.
#pragma once

#include <string>

#include "view/main_view.h"

namespace view {

struct Parcel {
  std::string name;
  std::string mobile;
  std::string fixed;  // fixed line
  std::string address;
  std::string goods;
  std::string order_number;  // the marketplace's, where the copied page has one
};

// The parcel the recipient boxes hold.
inline Parcel shown_parcel(const MainView& view) {
  using namespace control;
  return {view.text(name_box), view.text(mobile_phone), view.text(fixed_phone),
          view.text(address),  view.text(goods),        view.text(order_number)};
}

// Puts `parcel` into the recipient boxes as it is.
inline void show_parcel(MainView& view, const Parcel& parcel) {
  using namespace control;
  view.set_text(name_box, parcel.name);
  view.set_text(fixed_phone, parcel.fixed);
  view.set_text(mobile_phone, parcel.mobile);
  view.set_text(address, parcel.address);
  view.set_text(goods, parcel.goods);
  view.set_text(order_number, parcel.order_number);
}

}  // namespace view

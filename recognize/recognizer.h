// Clipboard recognition: classifies the copied order text, keeps the
// shipping records it finds and fills the main window's recipient boxes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "recipient/parser.h"
#include "view/asker.h"
#include "view/main_view.h"
#include "view/parcel.h"

namespace recognize {

// One shipment of a batch page or a whole ship page.
struct ShippingRecord {
  std::string address_line;  // "address ，postcode，name，phones"
  std::string goods;
  std::string summary;  // batch page only
  // A recipient of a pasted list, found by the address parser (no line).
  std::optional<recipient::Recipient> recipient;
  std::string order_number;  // where the page names it
};

class Recognizer {
 public:
  // `asker` asks a recognition's questions (item codes).
  Recognizer(view::MainView& view, std::string settings_path, view::Asker& asker)
      : view_(view), settings_path_(std::move(settings_path)), asker_(asker) {}

  // The click on "淘宝地址识别".
  void recognise_clipboard();
  // Recognises `text` as if it were the clipboard's.
  void recognise(std::string_view text);
  // Shows the record chosen in the name box; nothing changes when the
  // selection has no record.
  void show_record();

  // Records in page order; item k of the name box belongs to record k.
  const std::vector<ShippingRecord>& records() const { return records_; }
  // What the recipient boxes show for record k, without showing it.
  view::Parcel record_texts(size_t k) const;

 private:
  void recognise_batch_page(std::string& t);
  void recognise_whole_ship_page(const std::string& t);
  void recognise_short_text(std::string t);
  // Where no page kind recognised the text: the recipients the address
  // parser finds in it. False when it finds none.
  bool recognise_any_recipient(std::string_view text);
  // An order the platform still masks (王**, ****): the status says what
  // is masked and how to copy it whole; the boxes hold no mask. False for
  // any other text.
  bool recognise_masked_order(std::string_view text);
  std::string masked_records_status() const;
  void add_record(ShippingRecord record);
  // Sets the status line and remembers it.
  void say(const std::string& status);

  view::MainView& view_;
  std::string settings_path_;
  std::vector<ShippingRecord> records_;
  std::string status_;
  bool said_ = false;            // this recognition has set the status line
  bool page_kind_read_ = false;  // a page kind read this text (its records, or its masks)
  bool code_not_saved_ = false;  // an item code could not be written this time
  view::Asker& asker_;
};

// What the recipient boxes hold for a parcel: spaces removed, the address
// joined into one line and wrapped to the address box's lines; goods
// unchanged.
view::Parcel boxed(const view::Parcel& found);

// Writes the parcel into the recipient boxes as `boxed` makes it.
void fill_form(view::MainView& view, const view::Parcel& found);

}  // namespace recognize

// Clipboard recognition: classifies the copied order text, keeps the
// shipping records it finds and fills the main window's recipient boxes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "recipient/parser.h"
#include "view/main_view.h"

namespace recognize {

// One shipment of a batch page or a whole ship page.
struct ShippingRecord {
  std::string address_line;  // "address ，postcode，name，phones"
  std::string goods;
  std::string summary;  // batch page only
  // A recipient of a pasted list, found by the address parser (no line).
  std::optional<recipient::Recipient> recipient;
};

// What the recipient boxes hold for a recipient: spaces removed, the
// address joined into one line and wrapped to the address box's lines; goods unchanged.
struct FormTexts {
  std::string name, fixed, mobile, address, goods;
};

class Recognizer {
 public:
  Recognizer(view::MainView& view, std::string settings_path)
      : view_(view), settings_path_(std::move(settings_path)) {}

  // The window that owns the questions a recognition asks (the main
  // window, once it exists; 0: the active one).
  void set_owner(uintptr_t owner) { owner_ = owner; }

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
  FormTexts record_texts(size_t k) const;

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
  uintptr_t owner_ = 0;
};

FormTexts form_texts(std::string_view name, std::string_view fixed, std::string_view mobile,
                     std::string_view address, std::string_view goods);

// Writes the values into the recipient boxes as form_texts makes them.
void fill_form(view::MainView& view, std::string_view name, std::string_view fixed,
               std::string_view mobile, std::string_view address, std::string_view goods);

}  // namespace recognize

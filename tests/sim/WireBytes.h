// FYB wire form for the test sensor: exact bytes built by hand and read back, kept apart
// from the library so that a fault shared by the library's writer and reader cannot hide.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fybsim {

// One element of a message tree; an empty content means "no binary part".
struct Element {
  std::string name;
  std::vector<std::pair<std::string, std::string>> attributes;
  std::vector<Element> children;
  std::string content;

  Element() = default;
  explicit Element(std::string elementName) : name(std::move(elementName)) {}

  // Replaces the value of an attribute of that name, else appends it (builder style).
  Element& set(std::string_view key, std::string_view value);
  Element& add(Element child);
  Element& withContent(std::string bytes);

  const std::string* attribute(std::string_view key) const;
  const Element* child(std::string_view childName) const;

  bool operator==(const Element&) const = default;
};

struct BinaryPart {
  std::string contentId;
  std::string bytes;
  bool operator==(const BinaryPart&) const = default;
};

// The header pieces exactly as the sensor library writes them.
inline constexpr std::string_view kSinglePartHeader =
    "MIME-Version: 1.0\r\nContent-Type: application/xml;\r\n\r\n";
inline constexpr std::string_view kMultipartHeader =
    "MIME-Version: 1.0\r\nContent-Type: Multipart/Related;boundary=MIME_boundary;\r\n\r\n"
    "--MIME_boundary\r\nContent-Type: application/xop+xml;\r\n\r\n";
inline constexpr std::string_view kClosingBoundary = "--MIME_boundary--";

std::string escapeAttribute(std::string_view value);
// "--MIME_boundary" line and the part header lines of one binary part, up to its first byte.
std::string partHeader(std::string_view contentId, std::size_t length);
// The XML part "<msg>...</msg>" of a tree; contents get the letters A, B, ... in document order.
std::string xmlPartOf(const Element* root);
inline std::string xmlPartOf(const Element& root) {
  return xmlPartOf(&root);
}
// The whole document for a tree (single part or multipart); null gives the empty message.
std::string wireOf(const Element* root);
inline std::string wireOf(const Element& root) {
  return wireOf(&root);
}
// Documents from hand-written pieces, for bytes that no tree produces.
std::string singlePart(std::string_view xmlPart);
std::string multipart(std::string_view xmlPart, const std::vector<BinaryPart>& parts);

// One message read back from the wire.
struct WireMessage {
  std::string raw;
  std::string xmlPart;
  std::optional<Element> root;
  std::vector<BinaryPart> parts;

  std::string rootName() const { return root ? root->name : std::string(); }
};

enum class ScanStatus { NeedMore, Complete, Invalid };
struct ScanResult {
  ScanStatus status = ScanStatus::NeedMore;
  std::size_t length = 0;  // bytes of the first message when Complete
  std::string error;       // reason when Invalid
};

// Tells whether the bytes begin with one whole message, without parsing its XML.
ScanResult scanWire(std::string_view bytes);
// Reads the first message of the bytes; the binary parts are attached to the elements whose
// xop:Include names them. Null with the reason in error when the bytes are not one message.
std::optional<WireMessage> parseWire(std::string_view bytes, std::string* error = nullptr);

}  // namespace fybsim

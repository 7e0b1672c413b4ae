// Builds FYB documents byte for byte and reads them back with a small MIME scanner and Expat.
#include "WireBytes.h"

#include <expat.h>

#include <algorithm>
#include <cctype>

namespace fybsim {

Element& Element::set(std::string_view key, std::string_view value) {
  for (auto& [k, v] : attributes) {
    if (k == key) {
      v = value;
      return *this;
    }
  }
  attributes.emplace_back(std::string(key), std::string(value));
  return *this;
}

Element& Element::add(Element child) {
  children.push_back(std::move(child));
  return *this;
}

Element& Element::withContent(std::string bytes) {
  content = std::move(bytes);
  return *this;
}

const std::string* Element::attribute(std::string_view key) const {
  for (const auto& [k, v] : attributes) {
    if (k == key) return &v;
  }
  return nullptr;
}

const Element* Element::child(std::string_view childName) const {
  for (const auto& c : children) {
    if (c.name == childName) return &c;
  }
  return nullptr;
}

std::string escapeAttribute(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (char ch : value) {
    switch (ch) {
      case '"': out += "&quot;"; break;
      case '&': out += "&amp;"; break;
      case '\'': out += "&apos;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += ch;
    }
  }
  return out;
}

std::string partHeader(std::string_view contentId, std::size_t length) {
  std::string out =
      "--MIME_boundary\r\nContent-Type: application/octet-stream;\r\n"
      "Content-Transfer-Encoding: binary;\r\nContent-ID: ";
  out += contentId;
  out += ";\r\nContent-Length: ";
  out += std::to_string(length);
  out += ";\r\n\r\n";
  return out;
}

namespace {

// Letters A..Z as the library numbers its parts; beyond, ids that stay unique.
std::string contentLetter(std::size_t index) {
  if (index < 26) return std::string(1, static_cast<char>('A' + index));
  return "Z" + std::to_string(index);
}

void appendXml(const Element& e, std::string& out, std::vector<const Element*>& contents) {
  out += '<';
  out += e.name;
  for (const auto& [k, v] : e.attributes) {
    out += ' ';
    out += k;
    out += "=\"";
    out += escapeAttribute(v);
    out += '"';
  }
  if (e.children.empty() && e.content.empty()) {
    out += "/>";
    return;
  }
  out += '>';
  if (!e.content.empty()) {
    out += "<xop:Include href=\"" + contentLetter(contents.size()) + "\"/>";
    contents.push_back(&e);
  }
  for (const auto& c : e.children) appendXml(c, out, contents);
  out += "</";
  out += e.name;
  out += '>';
}

std::string xmlPartWithContents(const Element* root, std::vector<const Element*>& contents) {
  std::string out = "<msg>";
  if (root) appendXml(*root, out, contents);
  out += "</msg>";
  return out;
}

}  // namespace

std::string xmlPartOf(const Element* root) {
  std::vector<const Element*> contents;
  return xmlPartWithContents(root, contents);
}

std::string wireOf(const Element* root) {
  std::vector<const Element*> contents;
  std::string xml = xmlPartWithContents(root, contents);
  if (contents.empty()) return singlePart(xml);
  std::vector<BinaryPart> parts;
  for (std::size_t i = 0; i < contents.size(); ++i) {
    parts.push_back({contentLetter(i), contents[i]->content});
  }
  return multipart(xml, parts);
}

std::string singlePart(std::string_view xmlPart) {
  return std::string(kSinglePartHeader) + std::string(xmlPart);
}

std::string multipart(std::string_view xmlPart, const std::vector<BinaryPart>& parts) {
  std::string out = std::string(kMultipartHeader) + std::string(xmlPart);
  for (const auto& p : parts) {
    out += partHeader(p.contentId, p.bytes.size());
    out += p.bytes;
  }
  out += kClosingBoundary;
  return out;
}

namespace {

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  return std::equal(prefix.begin(), prefix.end(), s.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
}

// Where the pieces of one document lie in the scanned bytes.
struct Layout {
  std::size_t xmlBegin = 0, xmlEnd = 0, length = 0;
  struct Range {
    std::string id;
    std::size_t begin, size;
  };
  std::vector<Range> parts;
};

struct Headers {
  std::string contentType, contentId;
  std::optional<std::size_t> length;
};

struct Cursor {
  std::string_view in;
  std::size_t pos = 0;
  ScanStatus status = ScanStatus::Complete;
  std::string error;

  bool more() {
    status = ScanStatus::NeedMore;
    return false;
  }
  bool fail(std::string why) {
    status = ScanStatus::Invalid;
    error = std::move(why);
    return false;
  }
  bool line(std::string_view& out) {
    std::size_t end = in.find("\r\n", pos);
    if (end == std::string_view::npos) return more();
    out = in.substr(pos, end - pos);
    pos = end + 2;
    return true;
  }
  // Consumes the text when it is there; a matching but short input asks for more.
  bool expect(std::string_view text) {
    std::size_t n = std::min(in.size() - pos, text.size());
    if (in.substr(pos, n) != text.substr(0, n)) {
      return fail("expected \"" + std::string(text) + "\" at byte " + std::to_string(pos));
    }
    if (n < text.size()) return more();
    pos += text.size();
    return true;
  }
};

bool parseLength(std::string_view value, std::size_t& out) {
  std::size_t digits = 0;
  out = 0;
  while (digits < value.size() && std::isdigit(static_cast<unsigned char>(value[digits]))) {
    if (digits >= 10) return false;  // far beyond any message a test sends
    out = out * 10 + static_cast<std::size_t>(value[digits] - '0');
    ++digits;
  }
  std::string_view rest = value.substr(digits);
  return digits > 0 && (rest.empty() || rest == ";");
}

bool readHeaders(Cursor& c, Headers& h) {
  for (;;) {
    std::string_view l;
    if (!c.line(l)) return false;
    if (l.empty()) return true;
    if (startsWithNoCase(l, "Content-Type: ")) {
      h.contentType = l.substr(14);
    } else if (startsWithNoCase(l, "Content-ID: ")) {
      std::string_view id = l.substr(12);
      if (!id.empty() && id.back() == ';') id.remove_suffix(1);
      h.contentId = id;
    } else if (startsWithNoCase(l, "Content-Length: ")) {
      std::size_t n = 0;
      if (!parseLength(l.substr(16), n)) return c.fail("bad Content-Length line: " + std::string(l));
      h.length = n;
    }
  }
}

std::string boundaryOf(std::string_view contentType) {
  std::size_t at = contentType.find("boundary=");
  if (at == std::string_view::npos) return {};
  std::string_view rest = contentType.substr(at + 9);
  return std::string(rest.substr(0, rest.find(';')));
}

bool scanParts(Cursor& c, const std::string& boundary, Layout& out) {
  for (;;) {
    if (!c.expect("--" + boundary)) return false;
    if (c.in.size() - c.pos < 2) return c.more();
    if (c.in.substr(c.pos, 2) == "--") {
      out.length = c.pos + 2;
      return true;
    }
    if (!c.expect("\r\n")) return false;
    Headers h;
    if (!readHeaders(c, h)) return false;
    if (!h.length) return c.fail("binary part without Content-Length");
    if (c.in.size() - c.pos < *h.length) return c.more();
    out.parts.push_back({h.contentId, c.pos, *h.length});
    c.pos += *h.length;
  }
}

bool scanLayout(Cursor& c, Layout& out) {
  if (!c.expect("MIME-Version: 1.0\r\n")) return false;
  Headers doc;
  if (!readHeaders(c, doc)) return false;
  const bool multi = startsWithNoCase(doc.contentType, "Multipart/Related");
  std::string boundary;
  if (multi) {
    boundary = boundaryOf(doc.contentType);
    if (boundary.empty()) return c.fail("multipart document without boundary");
    if (!c.expect("--" + boundary + "\r\n")) return false;
    Headers xmlHeaders;
    if (!readHeaders(c, xmlHeaders)) return false;
  }
  std::size_t end = c.in.find("</msg>", c.pos);
  if (end == std::string_view::npos) return c.more();
  out.xmlBegin = c.pos;
  out.xmlEnd = end + 6;
  c.pos = out.xmlEnd;
  if (!multi) {
    out.length = c.pos;
    return true;
  }
  return scanParts(c, boundary, out);
}

// Expat callbacks: elements inside the first "msg" become the tree; the last one is the root.
struct TreeBuilder {
  bool inMsg = false, msgDone = false;
  std::optional<Element> root;
  std::vector<Element*> open;

  void start(const char* name, const char** atts) {
    if (!inMsg) {
      if (!msgDone && startsWithNoCase(name, "msg") && name[3] == '\0') inMsg = true;
      return;
    }
    Element e(name);
    for (int i = 0; atts[i]; i += 2) e.set(atts[i], atts[i + 1]);
    if (open.empty()) {
      root = std::move(e);
      open.push_back(&*root);
    } else {
      open.back()->children.push_back(std::move(e));
      open.push_back(&open.back()->children.back());
    }
  }
  void end() {
    if (!inMsg) return;
    if (open.empty()) {
      inMsg = false;
      msgDone = true;
    } else {
      open.pop_back();
    }
  }
};

bool parseXml(std::string_view xml, std::optional<Element>& root, std::string& error) {
  XML_Parser parser = XML_ParserCreate(nullptr);
  TreeBuilder builder;
  XML_SetUserData(parser, &builder);
  XML_SetElementHandler(
      parser,
      [](void* user, const XML_Char* name, const XML_Char** atts) {
        static_cast<TreeBuilder*>(user)->start(name, atts);
      },
      [](void* user, const XML_Char*) { static_cast<TreeBuilder*>(user)->end(); });
  const bool ok = XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), 1) == XML_STATUS_OK;
  if (!ok) error = std::string("XML error: ") + XML_ErrorString(XML_GetErrorCode(parser));
  XML_ParserFree(parser);
  root = std::move(builder.root);
  return ok;
}

// Moves each part into the element whose xop:Include names it; every part must be named.
bool attachParts(Element& e, std::vector<BinaryPart>& unused, std::string& error) {
  for (auto it = e.children.begin(); it != e.children.end(); ++it) {
    if (it->name != "xop:Include") continue;
    const std::string* href = it->attribute("href");
    auto part = std::find_if(unused.begin(), unused.end(),
                             [&](const BinaryPart& p) { return href && p.contentId == *href; });
    if (part == unused.end()) {
      error = "xop:Include without its binary part: " + (href ? *href : std::string("(no href)"));
      return false;
    }
    e.content = part->bytes;
    unused.erase(part);
    e.children.erase(it);
    break;
  }
  for (auto& c : e.children) {
    if (!attachParts(c, unused, error)) return false;
  }
  return true;
}

}  // namespace

ScanResult scanWire(std::string_view bytes) {
  Cursor c{bytes, 0, ScanStatus::Complete, {}};
  Layout layout;
  scanLayout(c, layout);
  return {c.status, c.status == ScanStatus::Complete ? layout.length : 0, c.error};
}

std::optional<WireMessage> parseWire(std::string_view bytes, std::string* error) {
  std::string ignored;
  std::string& why = error ? *error : ignored;
  Cursor c{bytes, 0, ScanStatus::Complete, {}};
  Layout layout;
  if (!scanLayout(c, layout)) {
    why = c.status == ScanStatus::NeedMore ? "incomplete message" : c.error;
    return std::nullopt;
  }
  WireMessage m;
  m.raw = std::string(bytes.substr(0, layout.length));
  m.xmlPart = std::string(bytes.substr(layout.xmlBegin, layout.xmlEnd - layout.xmlBegin));
  for (const auto& r : layout.parts) m.parts.push_back({r.id, std::string(bytes.substr(r.begin, r.size))});
  if (!parseXml(m.xmlPart, m.root, why)) return std::nullopt;
  std::vector<BinaryPart> unused = m.parts;
  if (m.root && !attachParts(*m.root, unused, why)) return std::nullopt;
  if (!unused.empty()) {
    why = "binary part not referenced from the XML: " + unused.front().contentId;
    return std::nullopt;
  }
  return m;
}

}  // namespace fybsim

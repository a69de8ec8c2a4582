#pragma once

// XML files: reading a whole file into memory (gzip-compressed when the
// name's extension is "gz") and whole documents in and out.

#include <cstdint>
#include <string>

#include "framework/value/xml_node.h"
#include "model/safe_save.h"

namespace penwick {

// Files larger than this (after decompression) are refused rather than read
// into memory: no settings or document file comes near it.
constexpr int64_t kMaxXmlFileSize = int64_t(256) << 20;

// The whole file; false when it is no regular file (a FIFO or a device is
// refused without waiting on it), cannot be opened, is damaged or cut short,
// or is larger than kMaxXmlFileSize.
bool readXmlFileText(const std::string& fileName, std::string& text);

// Every top-level node of the file as a child of `document` (its name and
// attributes are left alone).
bool loadXmlDocument(const std::string& fileName, XmlElement& document);

// Writes the children of `document` one after another through the safe save.
SaveResult saveXmlDocument(const std::string& fileName, const XmlElement& document);
SaveResult saveXmlDocument(const std::string& fileName, const XmlElement& document,
                           SaveFileSystem& files);

}  // namespace penwick

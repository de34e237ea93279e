// SPDX-License-Identifier: MIT
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace pelmoravan {

class ECollectionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Bucket of a name in a collection's 256-entry index, computed on the lower-cased name.
std::uint8_t NameBucket(const std::string& name);
std::string LowerAscii(std::string text);

// An ordered list of named items with a hashed, case-insensitive name index.
// Item must have a public std::string Name.
template <typename Item>
class TNamedCollection {
public:
    // notFoundFormat holds one %s, replaced by the name asked for.
    explicit TNamedCollection(std::string notFoundFormat) : FNotFound(std::move(notFoundFormat)) {}

    Item& Add(std::string name) {
        auto item = std::make_unique<Item>();
        item->Name = std::move(name);
        Item& ref = *item;
        FBuckets[NameBucket(ref.Name)].push_back(&ref);
        FItems.push_back(std::move(item));
        return ref;
    }

    void Rename(Item& item, std::string name) {
        auto& from = FBuckets[NameBucket(item.Name)];
        std::erase(from, &item);
        item.Name = std::move(name);
        FBuckets[NameBucket(item.Name)].push_back(&item);
    }

    Item& Find(const std::string& name) const {
        const std::string wanted = LowerAscii(name);
        for (Item* item : FBuckets[NameBucket(name)]) {
            if (LowerAscii(item->Name) == wanted) {
                return *item;
            }
        }
        std::string message = FNotFound;
        const auto at = message.find("%s");
        if (at != std::string::npos) {
            message.replace(at, 2, name);
        }
        throw ECollectionError(message);
    }

    Item& Items(std::int32_t index) const {
        if (index < 0 || index >= Count()) {
            throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
        }
        return *FItems[static_cast<std::size_t>(index)];
    }

    std::int32_t Count() const { return static_cast<std::int32_t>(FItems.size()); }

private:
    std::string FNotFound;
    std::vector<std::unique_ptr<Item>> FItems;
    std::array<std::vector<Item*>, 256> FBuckets;
};

// Pixels live on the platform side; the core only needs their size.
class IPictureData {
public:
    virtual ~IPictureData() = default;
    virtual std::int32_t Width() const = 0;
    virtual std::int32_t Height() const = 0;
};

class TPictureCollectionItem {
public:
    std::string Name;
    std::shared_ptr<IPictureData> Picture;
    std::int32_t PatternWidth = 0;
    std::int32_t PatternHeight = 0;
    bool SystemMemory = false;
    bool Transparent = true;
    std::uint32_t TransparentColor = 0; // 0x00BBGGRR

    std::int32_t Width() const { return Picture ? Picture->Width() : 0; }
    std::int32_t Height() const { return Picture ? Picture->Height() : 0; }
};

struct TRect;
// Where a pattern lies inside the item's picture (Right and Bottom exclusive); a pattern size of
// 0 means the whole picture. Nothing for an index out of range.
std::optional<TRect> PatternRect(const TPictureCollectionItem& item, std::int32_t pattern);

class IWaveData {
public:
    virtual ~IWaveData() = default;
};

// A wave kept as its file's bytes, for an output that decodes it itself.
class IWaveFile : public IWaveData {
public:
    virtual const std::uint8_t* FileBytes() const = 0;
    virtual std::size_t FileSize() const = 0;
};

class TWaveCollectionItem {
public:
    std::string Name;
    std::shared_ptr<IWaveData> Wave;
    bool Looped = false;
    std::int32_t MaxPlayingCount = 0;
};

class TPictureCollection : public TNamedCollection<TPictureCollectionItem> {
public:
    TPictureCollection() : TNamedCollection("Image '%s' not found") {}
};

class TWaveCollection : public TNamedCollection<TWaveCollectionItem> {
public:
    TWaveCollection() : TNamedCollection("Wave '%s' not found") {}
};

} // namespace pelmoravan

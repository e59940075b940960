#include "java_objects.h"

#include <bit>
#include <deque>
#include <map>
#include <mutex>

namespace host {
namespace {

std::mutex heapMutex;

std::deque<Object>& heap() {
    static std::deque<Object> objects;
    return objects;
}

// java.awt.image scales a component of n bits (n != 8) to 8 bits in float arithmetic.
std::uint32_t component(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    const int bits = std::popcount(mask);
    const std::uint32_t value = (pixel & mask) >> std::countr_zero(mask);
    if (bits == 8) {
        return value;
    }
    const float scale = 255.0f / static_cast<float>((std::uint64_t{1} << bits) - 1);
    return static_cast<std::uint32_t>(static_cast<float>(value) * scale + 0.5f);
}

}  // namespace

std::uint32_t ColorModel::rgb(std::uint32_t pixel) const {
    if (indexed) {
        return pixel < map.size() ? map[pixel] : 0;
    }
    return component(pixel, masks[0]) << 16 | component(pixel, masks[1]) << 8 |
           component(pixel, masks[2]);
}

Object* newObject(Kind kind, std::string className) {
    std::lock_guard lock(heapMutex);
    Object& object = heap().emplace_back();
    object.kind = kind;
    object.className = std::move(className);
    return &object;
}

Object* newString(const std::u16string& text) {
    Object* string = newObject(Kind::String, "java/lang/String");
    string->text = text;
    return string;
}

Object* newThrowable(const std::string& className, const std::string& message) {
    Object* throwable = newObject(Kind::Throwable, className);
    throwable->message = message;
    return throwable;
}

Object* classObject(const std::string& name) {
    static std::mutex classesMutex;
    static std::map<std::string, Object*> classes;
    std::lock_guard lock(classesMutex);
    Object*& found = classes[name];
    if (found == nullptr) {
        found = newObject(Kind::Class, name);
    }
    return found;
}

}  // namespace host

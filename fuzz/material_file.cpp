// Any bytes as a material file: the properties reader gives namespaces or a
// refusal, and a material read from them gives its techniques and passes with
// their render states, never a crash, a leak or time out of proportion; a
// material made is then walked, cloned and switched between its techniques.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Log.h"
#include "engine/base/Properties.h"
#include "engine/material/Material.h"
#include "engine/material/Technique.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = [] {
        engine::setLogSink([](const std::string&) {});
        return true;
    }();
    (void)quiet;
    std::unique_ptr<engine::Properties> root =
        engine::Properties::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!root) return 0;
    if (engine::Material* material = engine::Material::createWithProperties(root.get())) {
        const ssize_t techniques = material->getTechniqueCount();
        fuzzsupport::check(techniques == 0 || material->getTechnique() != nullptr, "a current technique");
        for (ssize_t t = 0; t < techniques; ++t) {
            engine::Technique* technique = material->getTechniqueByIndex(t);
            fuzzsupport::check(technique != nullptr, "every technique by its index");
            for (ssize_t p = 0; p < technique->getPassCount(); ++p) {
                engine::Pass* pass = technique->getPassByIndex(p);
                fuzzsupport::check(pass != nullptr, "every pass by its index");
                (void)pass->getStateBlock()->getBlendFunc();
            }
            material->setTechnique(technique->getName());
        }
        engine::Material* copy = material->clone();
        fuzzsupport::check(copy->getTechniqueCount() == techniques, "a clone has the same techniques");
    }
    engine::AutoreleasePool::getInstance()->clear();
    return 0;
}

// SFML's drawer of the side-by-side sprite benchmark (bench/sprite_compare.h).
// Two variants:
//   sprites      - the usual SFML way: one sf::Sprite, moved, turned, tinted
//                  and drawn once per sprite;
//   vertexarray  - the sprites' turned corners computed here into one
//                  sf::VertexArray of quads, drawn once a frame (SFML's fastest path).
//
//   sprite_compare_sfml --variant sprites --size 640x480 --sprites 1000,5000 --frames 60
//
// Each frame ends with a one-pixel glReadPixels (SFML has no cheaper way to
// wait for the driver), then display() (vsync off).
#include <GL/gl.h>

#include <SFML/Graphics.hpp>
#include <cstdio>
#include <vector>

#include "bench/sprite_compare.h"

using namespace sprite_compare;

namespace {

struct SfmlScene {
    sf::RenderWindow& window;
    sf::Texture background;
    sf::Texture spriteTexture;
    bool vertexArray;
    sf::VertexArray quads{sf::Quads};

    void Draw(const SpriteField& field, int frame) {
        window.draw(sf::Sprite(background));
        if (vertexArray) {
            DrawVertexArray(field, frame);
            return;
        }
        sf::Sprite sprite(spriteTexture);
        sprite.setOrigin(kSpriteHandle, kSpriteHandle);
        for (int i = 0; i < field.Count(); ++i) {
            const SpritePose pose = field.Pose(i, frame);
            sprite.setPosition(pose.x, pose.y);
            sprite.setRotation(-pose.angle);
            sprite.setColor(sf::Color(pose.red, pose.green, pose.blue, pose.alpha));
            window.draw(sprite);
        }
    }

    void DrawVertexArray(const SpriteField& field, int frame) {
        quads.resize(static_cast<size_t>(field.Count()) * 4);
        for (int i = 0; i < field.Count(); ++i) {
            const SpritePose pose = field.Pose(i, frame);
            const Corners corners = CornersOf(pose);
            const sf::Color color(pose.red, pose.green, pose.blue, pose.alpha);
            for (int k = 0; k < 4; ++k) {
                quads[i * 4 + k] = sf::Vertex({corners.x[k], corners.y[k]}, color, {kCornerU[k], kCornerV[k]});
            }
        }
        window.draw(quads, sf::RenderStates(&spriteTexture));
    }
};

bool LoadTexture(sf::Texture& texture, const std::vector<uint8_t>& rgba, int width, int height) {
    if (!texture.create(width, height)) return false;
    texture.update(rgba.data());
    return true;
}

void PumpEvents(sf::RenderWindow& window) {
    sf::Event event;
    while (window.pollEvent(event)) {
    }
}

}  // namespace

int main(int argc, char** argv) {
    const CompareOptions options = ParseCompareOptions(argc, argv, "sprite_compare_sfml");
    const bool vertexArray = options.variant == "vertexarray";
    if (!options.variant.empty() && !vertexArray && options.variant != "sprites") Usage("sprite_compare_sfml");

    sf::RenderWindow window(sf::VideoMode(options.width, options.height), "sprite_compare_sfml",
                            sf::Style::Titlebar | sf::Style::Close);
    if (!window.isOpen() || !window.setActive(true)) {
        fputs("sprite_compare_sfml: could not open an OpenGL window\n", stderr);
        return 1;
    }
    window.setVerticalSyncEnabled(false);
    const sf::ContextSettings settings = window.getSettings();
    const char* glRenderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const DrawerInfo info{"sfml", vertexArray ? "vertexarray" : "sprites",
                          "SFML 2.5 RenderWindow (GL " + std::to_string(settings.majorVersion) + "." +
                              std::to_string(settings.minorVersion) + ")",
                          glRenderer ? glRenderer : "?"};

    SfmlScene scene{window, {}, {}, vertexArray};
    if (!LoadTexture(scene.background, MakeBackgroundPixels(options.width, options.height), options.width,
                     options.height) ||
        !LoadTexture(scene.spriteTexture, MakeSpritePixels(), kSpriteSide, kSpriteSide)) {
        fputs("sprite_compare_sfml: could not make the pictures\n", stderr);
        return 1;
    }
    std::vector<uint32_t> frameCopy(static_cast<size_t>(options.width) * options.height);
    for (int count : options.spriteCounts) {
        const SpriteField field(options.width, options.height, count);
        const FrameClock clock = TimeFrames(options, [&](int frame) {
            scene.Draw(field, frame);
            uint32_t pixel = 0;
            glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &pixel);
            window.display();
            PumpEvents(window);
        });
        PrintResult(info, options, count, clock);
        if (!options.captureDir.empty()) {
            scene.Draw(field, options.warmUpFrames + options.frames - 1);
            sf::Texture copy;
            copy.create(options.width, options.height);
            copy.update(window);
            const sf::Image image = copy.copyToImage();
            const uint8_t* rgba = image.getPixelsPtr();
            for (size_t i = 0; i < frameCopy.size(); ++i) {
                const uint8_t* p = rgba + i * 4;
                frameCopy[i] = uint32_t{p[3]} << 24 | uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
            }
            WritePpm(options, info, count, frameCopy.data());
            window.display();
        }
    }
    return 0;
}

// A font's table of one entry per character code, kept in pages that come into
// being when one of their entries is first touched. A font covering the Basic
// Multilingual Plane has 100000 entries, of which a game shows a few hundred:
// a flat table would hold megabytes per font from the moment it is loaded.
#pragma once

#include <memory>
#include <vector>

template <typename T> class ofGlyphTable {
public:
    static constexpr int PAGE_SIZE = 128;

    // count entries, every one equal to fill, no page made yet.
    void assign(int count, const T& fill) {
        m_count = count > 0 ? count : 0;
        m_fill = fill;
        m_pages.clear();
        m_pages.resize((m_count + PAGE_SIZE - 1) / PAGE_SIZE);
    }
    void clear() { assign(0, T{}); }
    int size() const { return m_count; }

    // Makes the entry's page when needed; index must lie in 0..size()-1.
    T& operator[](int index) {
        std::unique_ptr<T[]>& page = m_pages[index / PAGE_SIZE];
        if (!page) {
            page = std::make_unique<T[]>(PAGE_SIZE);
            for (int i = 0; i < PAGE_SIZE; ++i)
                page[i] = m_fill;
        }
        return page[index % PAGE_SIZE];
    }

    // Every entry of the pages made so far.
    template <typename F> void forEachMade(F visit) {
        for (std::unique_ptr<T[]>& page : m_pages)
            if (page)
                for (int i = 0; i < PAGE_SIZE; ++i)
                    visit(page[i]);
    }

private:
    int m_count = 0;
    T m_fill{};
    std::vector<std::unique_ptr<T[]>> m_pages;
};

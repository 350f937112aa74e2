// A map from a name to a value with 17 buckets, where the bucket of a name is
// its length in bytes modulo 17. A new name goes to the head of its bucket's
// chain, and a walk runs through the buckets from the first and along each
// chain from its head: the order in which the printer set visits its
// printers. Names are compared byte for byte, so letter case counts.
#pragma once

#include <array>
#include <cstddef>
#include <forward_list>
#include <string>
#include <utility>

template <typename TValue> class CNameMap {
public:
    static constexpr std::size_t kBuckets = 17;

    std::size_t GetCount() const { return m_nCount; }

    // The value stored under strName, or null.
    TValue* Lookup(const std::string& strName) {
        for (Entry& entry : Bucket(strName)) {
            if (entry.first == strName)
                return &entry.second;
        }
        return nullptr;
    }

    // Replaces the value of a name already there, which keeps its place;
    // otherwise puts the name at the head of its bucket.
    void SetAt(const std::string& strName, TValue value) {
        if (TValue* pValue = Lookup(strName)) {
            *pValue = std::move(value);
            return;
        }
        Bucket(strName).emplace_front(strName, std::move(value));
        ++m_nCount;
    }

    // FALSE when the name is not there.
    bool RemoveKey(const std::string& strName) {
        Chain& chain = Bucket(strName);
        for (auto itBefore = chain.before_begin(), it = chain.begin(); it != chain.end(); itBefore = it++) {
            if (it->first == strName) {
                chain.erase_after(itBefore);
                --m_nCount;
                return true;
            }
        }
        return false;
    }

    // Destroys the values in walk order.
    void RemoveAll() {
        for (Chain& chain : m_aBuckets) {
            while (!chain.empty())
                chain.pop_front();
        }
        m_nCount = 0;
    }

    // Calls fnVisit(name, value) for every entry in walk order. fnVisit must
    // not add or remove names.
    template <typename TVisit> void ForEach(TVisit fnVisit) {
        for (Chain& chain : m_aBuckets) {
            for (Entry& entry : chain)
                fnVisit(static_cast<const std::string&>(entry.first), entry.second);
        }
    }
    template <typename TVisit> void ForEach(TVisit fnVisit) const {
        for (const Chain& chain : m_aBuckets) {
            for (const Entry& entry : chain)
                fnVisit(entry.first, entry.second);
        }
    }

private:
    using Entry = std::pair<std::string, TValue>;
    using Chain = std::forward_list<Entry>;

    Chain& Bucket(const std::string& strName) { return m_aBuckets[strName.size() % kBuckets]; }

    std::array<Chain, kBuckets> m_aBuckets;
    std::size_t m_nCount = 0;
};

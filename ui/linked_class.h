// An intrusive list of the live instances of one class: each instance takes
// the next number of its class as its id and links itself in at the head; its
// destructor unlinks it wherever it stands. Platform-free.
#pragma once

template <class T> class TLinkedClassIterator;

template <class T> class TLinkedClass {
public:
    // No live instance has the id looked for.
    class BadIndex {};

    TLinkedClass(const TLinkedClass&) = delete;
    TLinkedClass& operator=(const TLinkedClass&) = delete;

    unsigned GetId() const { return m_nId; }

    // The live instance with that id; throws BadIndex when there is none.
    static T& Find(unsigned nId) {
        for (TLinkedClass* pLink = s_pHead; pLink; pLink = pLink->m_pNext)
            if (pLink->m_nId == nId)
                return static_cast<T&>(*pLink);
        throw BadIndex();
    }
    static bool IsEmpty() { return s_pHead == nullptr; }

protected:
    TLinkedClass() : m_nId(s_nCounter++), m_pNext(s_pHead) { s_pHead = this; }
    ~TLinkedClass() {
        for (TLinkedClass** ppLink = &s_pHead; *ppLink; ppLink = &(*ppLink)->m_pNext)
            if (*ppLink == this) {
                *ppLink = m_pNext;
                break;
            }
    }

private:
    friend class TLinkedClassIterator<T>;

    unsigned m_nId;
    TLinkedClass* m_pNext;
    static inline TLinkedClass* s_pHead = nullptr;
    static inline unsigned s_nCounter = 0;
};

// Walks the live instances from the most recently constructed one to the end.
template <class T> class TLinkedClassIterator {
public:
    // The iterator stands at the end and was dereferenced or advanced.
    class NullIterator {};

    TLinkedClassIterator() : m_pLink(TLinkedClass<T>::s_pHead) {}

    explicit operator bool() const { return m_pLink != nullptr; }
    T& operator*() const {
        if (!m_pLink)
            throw NullIterator();
        return static_cast<T&>(*m_pLink);
    }
    T* operator->() const { return &**this; }
    TLinkedClassIterator& operator++() {
        if (!m_pLink)
            throw NullIterator();
        m_pLink = m_pLink->m_pNext;
        return *this;
    }

private:
    TLinkedClass<T>* m_pLink;
};

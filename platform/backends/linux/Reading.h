// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <optional>
#include <vector>

namespace pardolin::linux_backend {

// Gathers the questions of one report into one conversation with a server. A reading
// answers each question at most once; a question that was already answered starts a new
// reading. So the questions one click asks share one connection and one deadline, and
// every click reads afresh.
template <typename Facts, typename Question> class Reading {
  public:
    // The facts to answer `question` from; `read` makes a new reading when one is needed.
    template <typename Read> const Facts& For(Question question, Read&& read) {
        if (!m_facts || std::find(m_asked.begin(), m_asked.end(), question) != m_asked.end()) {
            m_facts = read();
            m_asked.clear();
        }
        m_asked.push_back(question);
        return *m_facts;
    }

  private:
    std::optional<Facts> m_facts;
    std::vector<Question> m_asked;
};

} // namespace pardolin::linux_backend

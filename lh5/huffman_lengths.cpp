#include "lh5/huffman_lengths.h"

#include <algorithm>
#include <queue>

std::vector<uint8_t> huffmanLengths(const std::vector<uint32_t>& frequencies, int maxLength) {
    const int symbols = int(frequencies.size());
    std::vector<uint8_t> lengths(size_t(symbols), 0);
    std::vector<int> used;
    for (int s = 0; s < symbols; s++)
        if (frequencies[size_t(s)] != 0) used.push_back(s);
    if (used.size() < 2) return lengths;

    // Plain Huffman tree; ties go to the lower node number so output is stable.
    struct Node {
        uint64_t weight;
        int parent;
    };
    std::vector<Node> nodes;
    using Entry = std::pair<uint64_t, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
    for (int s : used) {
        queue.push({frequencies[size_t(s)], int(nodes.size())});
        nodes.push_back({frequencies[size_t(s)], -1});
    }
    while (queue.size() > 1) {
        Entry a = queue.top();
        queue.pop();
        Entry b = queue.top();
        queue.pop();
        int parent = int(nodes.size());
        nodes.push_back({a.first + b.first, -1});
        nodes[size_t(a.second)].parent = parent;
        nodes[size_t(b.second)].parent = parent;
        queue.push({a.first + b.first, parent});
    }

    // Depths of the leaves, counted per length.
    std::vector<int> countOfLength(used.size() + 1, 0);
    int deepest = 0;
    for (size_t leaf = 0; leaf < used.size(); leaf++) {
        int depth = 0;
        for (int n = int(leaf); nodes[size_t(n)].parent >= 0; n = nodes[size_t(n)].parent) depth++;
        countOfLength[size_t(depth)]++;
        deepest = std::max(deepest, depth);
    }
    // Too deep: move pairs of the deepest leaves up, keeping the code full.
    for (int i = deepest; i > maxLength; i--) {
        while (countOfLength[size_t(i)] > 0) {
            int j = i - 2;
            while (countOfLength[size_t(j)] == 0) j--;
            countOfLength[size_t(i)] -= 2;
            countOfLength[size_t(i - 1)] += 1;
            countOfLength[size_t(j + 1)] += 2;
            countOfLength[size_t(j)] -= 1;
        }
    }

    // The most frequent symbols take the shortest lengths.
    std::vector<int> byFrequency = used;
    std::stable_sort(byFrequency.begin(), byFrequency.end(),
                     [&](int a, int b) { return frequencies[size_t(a)] > frequencies[size_t(b)]; });
    size_t next = 0;
    for (int length = 1; length <= std::min(deepest, maxLength); length++)
        for (int k = 0; k < countOfLength[size_t(length)]; k++) lengths[size_t(byFrequency[next++])] = uint8_t(length);
    return lengths;
}
